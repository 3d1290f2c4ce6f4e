#!/usr/bin/env bash
# vek-relax's records of a run, through the real program: the convergence
# log (--log) has a header and one row per block (and one for the start)
# with consistent iteration numbers; a log that cannot be written ends the
# program with status 1 before any iteration; bad values give status 2.
#
# Usage: relax_records.sh VEK_RELAX EXAMPLES_DIR OUTPUT_DIR
set -uo pipefail
relax=$1
examples=$2
out=$3
rm -rf "$out"
mkdir -p "$out"
# A copy: one case names the input as the log, and a fault there must not
# reach the example.
knot="$out/trefoil.txt"
cp "$examples/trefoil.txt" "$knot"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Runs vek-relax with the arguments after the expected status; checks the
# status. Its standard error is kept in $out/stderr.
expect_status() {
  local want=$1
  shift
  "$relax" "$@" >"$out/stdout" 2>"$out/stderr"
  local got=$?
  [ "$got" -eq "$want" ] || fail "vek-relax $* exited $got, not $want: $(head -c 300 "$out/stderr")"
}

# The iteration column of a log, one per line, without the header.
iterations_of() { tail -n +2 "$1" | cut -d, -f1 | tr '\n' ' '; }

# --- The log: runs and the iterations of their rows ----------------------
# name | arguments | iterations of the rows
while IFS='|' read -r name args rows; do
  log="$out/$name.csv"
  # shellcheck disable=SC2086
  expect_status 0 "$knot" $args --output "$out/$name.txt" --log "$log"
  header=$(head -1 "$log")
  [ "$header" = "iteration,points,length,nominal,ropelength,min_nonlocal_distance_over_thickness,contacts" ] ||
    fail "$name: header \"$header\""
  got=$(iterations_of "$log")
  [ "$got" = "$rows" ] || fail "$name: rows at iterations \"$got\", not \"$rows\""
  # Every row has seven fields, and its length is a plain number.
  awk -F, -v name="$name" 'NR > 1 && (NF != 7 || $3 !~ /^[0-9.e+-]+$/) { print "FAIL: " name ": row " NR ": " $0; bad = 1 }
                           END { exit bad }' "$log" || failures=$((failures + 1))
done <<'TABLE'
fixed|--iterations 100|0 30 60 90 100 
exact blocks|--iterations 60|0 30 60 
no iterations|--iterations 0|0 
until tight, bounded|--until-tight --max-iterations 75|0 30 60 75 
refine|--iterations 30 --refine 3 --max-iterations 60|0 30 60 90 
TABLE

# The last row is the curve written: its point count is the output's.
last_points=$(tail -1 "$out/fixed.csv" | cut -d, -f2)
written=$(grep -c . "$out/fixed.txt")
[ "$last_points" = "$written" ] || fail "last row has $last_points points, the output $written"

# --- Refused before the run: status 1, no output, no summary -------------
mkdir -p "$out/a-folder"
touch "$out/a-file"
while IFS='|' read -r name log; do
  rm -f "$out/refused.txt"
  expect_status 1 "$knot" --iterations 30 --output "$out/refused.txt" --log "$log"
  [ ! -e "$out/refused.txt" ] || fail "$name: the run went on and wrote its points"
  ! grep -q "^iterations:" "$out/stderr" || fail "$name: the run went on and printed its summary"
  grep -q -- "--log" "$out/stderr" || fail "$name: the message does not name --log: $(cat "$out/stderr")"
done <<TABLE
missing folder|$out/missing/log.csv
a folder|$out/a-folder
under a file|$out/a-file/log.csv
the input, spelt otherwise|$out/./trefoil.txt
TABLE
cmp -s "$knot" "$examples/trefoil.txt" || fail "the input changed"

# --- Bad values: status 2 --------------------------------------------------
expect_status 2 "$knot" --log
expect_status 2 "$knot" --log=
expect_status 2 "$knot" --log "$knot"
expect_status 2 "$knot" --output "$out/o.txt" --log "$out/o.txt"

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "relax records: all checks passed"
