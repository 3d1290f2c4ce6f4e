# vek-relax --knot NAME and --pd CODE: the curve made is that knot (mirror
# images with *), of a few hundred points, and goes on like a file read;
# names not in the table and codes that are not one closed oriented planar
# component give status 2 with what is wrong.
#
#   knot_names.sh VEK_RELAX EXAMPLES OUT
relax=$1
examples=$2
out=$3
mkdir -p "$out"
. "$(dirname "$0")/relax_checks.sh"

json_value() { grep -o "\"$2\": [^,}]*" "$1" | head -1 | sed 's/^[^:]*: //'; }

# --- Made, identified, written as is or relaxed ----------------------------
while read -r how value name; do
  expect_status 0 "$how" "$value" --json --output "$out/made.txt"
  cp "$out/stdout" "$out/made.json"
  [ "$(json_value "$out/made.json" knot_start)" = "\"$name\"" ] ||
    fail "$how $value: knot_start $(json_value "$out/made.json" knot_start), not $name"
  [ "$(json_value "$out/made.json" iterations)" = "0" ] || fail "$how $value: not written as made"
  points=$(wc -l < "$out/made.txt")
  [ "$points" -ge 60 ] && [ "$points" -le 3000 ] || fail "$how $value: $points points"
done <<'LIST'
--knot 8_19* 8_19*
--knot 0_1 0_1
--knot 12n_888 12n_888
--pd [[1,5,2,4],[3,1,4,6],[5,3,6,2]] 3_1
--pd [[4,1,5,2],[6,3,1,4],[2,5,3,6]] 3_1*
LIST
expect_status 0 --knot 7_4* --iterations 90 --json --output "$out/relaxed.txt"
[ "$(json_value "$out/stdout" knot)" = "\"7_4*\"" ] || fail "--knot 7_4* --iterations 90: $(json_value "$out/stdout" knot)"
[ "$(json_value "$out/stdout" knot_candidates)" = "[]" ] || fail "7_4*: candidates"

# --- Refused ----------------------------------------------------------------
expect_status 2 --knot 13a_1
grep -q "unknown knot name" "$out/stderr" || fail "--knot 13a_1: $(cat "$out/stderr")"
expect_status 2 --pd "[[1,3,2,4],[3,1,4,2]]"
grep -q "not one closed oriented component" "$out/stderr" || fail "--pd of a link: $(cat "$out/stderr")"
expect_status 2 --pd "[[3,1,4,2],[4,2,1,3]]"
grep -q "not planar" "$out/stderr" || fail "--pd not planar: $(cat "$out/stderr")"
expect_status 2 "$examples/trefoil.txt" --knot 3_1
expect_status 2 --knot 3_1 --pd "[]"
expect_status 2

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "all passed"
