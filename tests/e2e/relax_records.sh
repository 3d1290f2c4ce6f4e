#!/usr/bin/env bash
# vek-relax's records of a run, through the real program: the convergence
# log (--log) has a header and one row per block (and one for the start)
# with consistent iteration numbers; a log that cannot be written ends the
# program with status 1 before any iteration; bad values give status 2.
# The frames (--frames): one PNG of the asked size per row of the log; a
# folder that cannot be made ends the program with status 1 before the
# run, a frame that cannot be written stops the run, which still writes
# its curve, with status 1; bad picture options give status 2.
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
# shellcheck source=relax_checks.sh
source "$(dirname "$0")/relax_checks.sh"

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
TABLE
cmp -s "$knot" "$examples/trefoil.txt" || fail "the input changed"

# --- Bad values: status 2 --------------------------------------------------
expect_status 2 "$knot" --log
expect_status 2 "$knot" --log=
expect_status 2 "$knot" --log "$knot"
# The input spelt otherwise is still the input: compared as files.
expect_status 2 "$knot" --iterations 30 --output "$out/refused.txt" --log "$out/./trefoil.txt"
expect_status 2 "$knot" --output "$out/o.txt" --log "$out/o.txt"

# --- Frames ---------------------------------------------------------------
# Width and height of a PNG from its header; empty for a file that is none.
png_size() {
  [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || return
  od -An -tu1 -j16 -N8 "$1" |
    awk '{ printf "%dx%d", $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }'
}
# name | arguments | frames | size
while IFS='|' read -r name args count size; do
  frames="$out/frames-$name"
  # shellcheck disable=SC2086
  expect_status 0 "$knot" $args --output "$out/$name.txt" --log "$out/$name.csv" --frames "$frames"
  got=$(find "$frames" -name '*.png' | wc -l)
  [ "$got" -eq "$count" ] || fail "frames $name: $got frames, not $count"
  rows=$(($(wc -l <"$out/$name.csv") - 1))
  [ "$rows" -eq "$count" ] || fail "frames $name: $rows log rows for $count frames"
  for ((k = 0; k < count; k++)); do
    frame=$(printf '%s/%05d.png' "$frames" "$k")
    [ "$(png_size "$frame")" = "$size" ] || fail "frames $name: $frame is not a $size PNG"
  done
done <<'TABLE'
fixed|--iterations 100 --size 64x48|5|64x48
fitted and turned|--iterations 60 --fit --turn 20,30 --colour pink --background 102030|3|480x480
until tight|--until-tight --max-iterations 90 --size 40 --scale 2|4|40x40
refine|--iterations 30 --refine 3 --max-iterations 60 --size 32|4|32x32
TABLE

# --keep-knot: the run stops in block 9 and keeps the curve of iteration
# 240; the frames end with it.
expect_status 3 "$knot" --iterations 3000 --precision 0.3 --keep-knot --output "$out/kept.txt" \
  --frames "$out/frames-kept" --size 32
got=$(find "$out/frames-kept" -name '*.png' | wc -l)
[ "$got" -eq 9 ] || fail "--keep-knot: $got frames, not 9 (iterations 0 ... 240)"

# Older frames in the folder, or a folder that cannot be made: status 1
# before the run.
while IFS='|' read -r name frames; do
  rm -f "$out/refused.txt"
  expect_status 1 "$knot" --iterations 30 --output "$out/refused.txt" --frames "$frames"
  [ ! -e "$out/refused.txt" ] || fail "frames $name: the run went on and wrote its points"
  grep -q -- "--frames" "$out/stderr" || fail "frames $name: the message does not name --frames"
done <<TABLE
older frames|$out/frames-fixed
missing parent|$out/missing/frames
a file|$out/a-file
under a file|$out/a-file/frames
TABLE

# A frame that cannot be written (the folder moved away during the run and
# a file put in its place): status 1, the frames written are PNGs and
# numbered from 0 without a gap, and the curve of the iterations done is
# written.
gone="$out/frames-gone"
"$relax" "$knot" --iterations 30000 --output "$out/gone.txt" --frames "$gone" --size 400 \
  >"$out/stdout" 2>"$out/gone.err" &
runner=$!
for ((tries = 0; tries < 600; tries++)); do
  [ -e "$gone/00002.png" ] && break
  sleep 0.05
done
mv "$gone" "$gone.moved" && touch "$gone"
wait "$runner"
status=$?
[ "$status" -eq 1 ] || fail "a frame that failed: status $status, not 1: $(head -c 300 "$out/gone.err")"
grep -q "the run stops after iteration" "$out/gone.err" || fail "a frame that failed: no message"
grep -q "^iterations: " "$out/gone.err" || fail "a frame that failed: no summary"
[ -s "$out/gone.txt" ] || fail "a frame that failed: the curve was not written"
written=$(find "$gone.moved" -name '*.png' | wc -l)
[ "$written" -ge 3 ] || fail "a frame that failed: only $written frames before the failure"
for ((k = 0; k < written; k++)); do
  frame=$(printf '%s/%05d.png' "$gone.moved" "$k")
  [ "$(png_size "$frame")" = "400x400" ] || fail "a frame that failed: $frame is not a 400x400 PNG"
done

# --- Bad picture arguments: status 2, no folder made ----------------------
while read -r args; do
  # shellcheck disable=SC2086
  expect_status 2 "$knot" --output "$out/bad.txt" $args
  [ ! -e "$out/bad-frames" ] || fail "vek-relax $args made the folder"
done <<TABLE
--frames
--size 64
--fit --iterations 30
--frames $out/bad-frames --size 15
--frames $out/bad-frames --colour red
--frames $out/bad-frames --turn 10
--frames $out/bad-frames --scale -1
--frames $out/bad-frames --ideal
--frames $out/bad-frames --background 12345g
TABLE

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "relax records: all checks passed"
