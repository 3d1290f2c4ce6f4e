#!/usr/bin/env bash
# vek-relax --ideal through the real program: the polygon it writes is
# certified as it reads back from the file (not only in memory), in both
# curve formats; the summary's keys; bad arguments give status 2, an input
# whose knot type cannot be told status 1 and no output; progress goes only
# to a terminal; the same polygon and summary from a run beside a load of
# both cores and with one thread or two; a time limit that cuts a run short
# says so.
#
# Usage: ideal.sh VEK_RELAX EXAMPLES_DIR OUTPUT_DIR
set -uo pipefail
relax=$1
examples=$2
out=$3
rm -rf "$out"
mkdir -p "$out"
knot="$examples/trefoil.txt"
# shellcheck source=relax_checks.sh
source "$(dirname "$0")/relax_checks.sh"

# The value of a key in a one-line JSON object.
json_value() { grep -o "\"$2\": [^,}]*" "$1" | head -1 | sed 's/^[^:]*: //; s/"//g'; }

# --- Certified as written, both formats -----------------------------------
for name in ideal.txt ideal.vect; do
  expect_status 0 "$knot" --ideal --vertices 48 --json --output "$out/$name" --mesh "$out/$name.obj"
  cp "$out/stdout" "$out/$name.json"
  for key in knot vertices length thickness ropelength struts curvature_constraints relax_iterations \
             iterations levels fell_back stopped_by seconds; do
    grep -q "\"$key\": " "$out/$name.json" || fail "$name: the summary has no \"$key\": $(cat "$out/$name.json")"
  done
  [ "$(json_value "$out/$name.json" knot)" = 3_1 ] || fail "$name: knot $(json_value "$out/$name.json" knot)"
  [ "$(json_value "$out/$name.json" vertices)" = 48 ] || fail "$name: vertices $(json_value "$out/$name.json" vertices)"
  grep -q "^v " "$out/$name.obj" || fail "$name: no mesh written"
  # Read back: the file's own certificate is the one reported, and holds.
  expect_status 0 "$out/$name" --iterations 0 --json --output "$out/back-$name"
  reported=$(json_value "$out/$name.json" thickness)
  back=$(json_value "$out/stdout" certified_thickness)
  awk -v a="$reported" -v b="$back" 'BEGIN { exit !(b >= 0.015 && a == b) }' ||
    fail "$name: reported thickness $reported, the file reads back as $back (tube 0.03 needs 0.015)"
  [ "$(json_value "$out/stdout" knot)" = 3_1 ] || fail "$name: reads back as $(json_value "$out/stdout" knot)"
done

# --- The same every time: under load, on one thread or two -----------------
# The summary without its seconds, the only figure that may differ.
without_seconds() { sed 's/, "seconds": [^,}]*//' "$1"; }
[ "$(json_value "$out/ideal.txt.json" stopped_by)" = converged ] ||
  fail "the 48-gon did not converge: $(cat "$out/ideal.txt.json")"
# Two processes that keep both cores busy beside the second run.
load_pids=()
for _ in 1 2; do
  bash -c 'while :; do :; done' &
  load_pids+=($!)
done
expect_status 0 "$knot" --ideal --vertices 48 --threads 1 --json --output "$out/loaded.txt"
cp "$out/stdout" "$out/loaded.json"
for pid in "${load_pids[@]}"; do kill "$pid"; done
wait "${load_pids[@]}" 2>/dev/null
expect_status 0 "$knot" --ideal --vertices 48 --threads 2 --json --output "$out/two.txt"
cp "$out/stdout" "$out/two.json"
for run in loaded two; do
  cmp -s "$out/ideal.txt" "$out/$run.txt" || fail "$run: the polygon differs from the first run's"
  [ "$(without_seconds "$out/ideal.txt.json")" = "$(without_seconds "$out/$run.json")" ] ||
    fail "$run: the summary differs: $(cat "$out/$run.json") / $(cat "$out/ideal.txt.json")"
done

# --- A time limit that cuts the run short says so -------------------------
expect_status 0 "$knot" --ideal --vertices 48 --time-limit 0.001 --json --output "$out/short.txt"
[ "$(json_value "$out/stdout" stopped_by)" = time ] || fail "a cut run says: $(cat "$out/stdout")"
grep -q "time limit of 0.001 s stopped the optimiser" "$out/stderr" || fail "no line on the time limit: $(cat "$out/stderr")"
expect_status 0 "$out/short.txt" --iterations 0 --json --output "$out/back-short.txt"
[ "$(json_value "$out/stdout" knot)" = 3_1 ] || fail "the cut run's polygon reads back as $(json_value "$out/stdout" knot)"

# --- Bad arguments: status 2; an input of no knot type: status 1 ------------
expect_status 2 "$knot" --ideal --vertices 3
expect_status 2 "$knot" --ideal --iterations 30
expect_status 2 "$knot" --vertices 100
expect_status 2 "$knot" --time-limit 10
expect_status 2 "$knot" --ideal --threads 0
printf '0 0 0\n1 0 0\n' >"$out/two.txt"
rm -f "$out/none.txt"
expect_status 1 "$out/two.txt" --ideal --output "$out/none.txt"
[ ! -e "$out/none.txt" ] || fail "a refused --ideal wrote its output"
grep -q "2 points; a closed curve needs at least 4" "$out/stderr" || fail "the refusal does not say why: $(cat "$out/stderr")"

# --- Progress: only on a terminal, never with --json ------------------------
expect_status 0 "$knot" --ideal --vertices 48 --output "$out/quiet.txt"
! grep -q $'\r' "$out/stderr" || fail "progress written to a standard error that is no terminal"
if command -v script >/dev/null; then
  start=$(date +%s.%N)
  script -qec "'$relax' '$knot' --ideal --vertices 96 --time-limit 3 --output '$out/tty.txt'" /dev/null >"$out/tty.log" 2>&1
  took=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { print e - s }')
  if awk -v t="$took" 'BEGIN { exit !(t > 1.5) }'; then
    grep -Eq "level [0-9]+, iteration" "$out/tty.log" || fail "a ${took} s run on a terminal showed no progress"
  fi
  script -qec "'$relax' '$knot' --ideal --vertices 96 --time-limit 3 --json --output '$out/tty.txt'" /dev/null >"$out/tty.log" 2>&1
  ! grep -Eq "level [0-9]+, iteration" "$out/tty.log" || fail "progress shown in --json mode"
fi

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "ideal: all checks passed"
