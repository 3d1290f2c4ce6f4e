#!/usr/bin/env bash
# The tools on files they cannot work on, through the real programs:
# - a file that yields no curve (empty, white space, binary, UTF-16, "nan"
#   first, /dev/null, a VECT without polyline, too few points) ends both
#   tools with status 1 and a message saying what was found, and nothing is
#   written: an input named as --output stays as it was, --until-tight
#   reports nothing converged;
# - a file of full-precision numbers ("%.18e") reads as the same curve;
#   one whose reading stops early, or whose last point lacks coordinates,
#   is read with a note on standard error;
# - a picture that would show only the background is refused, --fit
#   draws it;
# - a curve on one straight line is refused; outputs that name one file
#   are refused (status 2), an output that cannot be written before the run
#   (status 1, nothing written); a frames folder another run holds is
#   refused, and of two runs into one new folder exactly one writes frames;
#   frames without the picture module are refused, naming where it was looked for;
# - a full disk (a small tmpfs, mounted where the tests run as root) leaves
#   the old output whole;
# - storage that runs out (ulimit -v) ends with a message and status 1.
#
# Usage: bad_files.sh VEK_RELAX VEK_TUBE_PICTURE EXAMPLES_DIR OUTPUT_DIR
set -uo pipefail
relax=$1
picture=$2
examples=$3
out=$4
rm -rf "$out"
mkdir -p "$out"
# shellcheck source=relax_checks.sh
source "$(dirname "$0")/relax_checks.sh"

has() { grep -qF -- "$2" "$1" || fail "$3: standard error lacks \"$2\": $(head -c 300 "$1")"; }

# --- Files without a curve ------------------------------------------------
# name | file | bytes (printf format) | what standard error says
while IFS='|' read -r name file bytes says; do
  path="$out/$file"
  if [ "$file" = /dev/null ]; then path=/dev/null; else printf "$bytes" >"$path"; fi
  [ "$path" = /dev/null ] || cp "$path" "$out/original"
  target=$path
  [ "$path" = /dev/null ] && target="$out/never.txt"
  expect_status 1 "$path" --iterations 30 --output "$target"
  has "$out/stderr" "$says" "$name"
  if [ "$path" = /dev/null ]; then
    [ ! -e "$target" ] || fail "$name: an output was written"
  else
    cmp -s "$path" "$out/original" || fail "$name: the input, given as --output, changed"
  fi
  expect_status 1 "$path" --until-tight --output "$out/tight.txt"
  grep -q converged "$out/stdout" "$out/stderr" && fail "$name: --until-tight reports convergence"
  "$picture" "$path" "$out/picture.png" >/dev/null 2>"$out/stderr"
  [ $? -eq 1 ] || fail "$name: vek-tube-picture did not exit 1"
  has "$out/stderr" "$says" "$name (picture)"
  [ ! -e "$out/picture.png" ] || fail "$name: vek-tube-picture wrote a picture"
  rm -f "$out/tight.txt" "$out/picture.png"
done <<'TABLE'
empty|empty.txt||an empty file
white space|space.txt|  \n\t\r\n|only white space
binary|binary.txt|\001\002\003\377\376|binary data, not text
UTF-16|utf16.txt|\377\3761\000 \0002\000 \0003\000|a UTF-16 text file
UTF-8 mark only|mark.txt|\357\273\277|an empty file
nan first|nan.txt|nan 1 2\n3 4 5\n|line 1 starts with "nan"
dev null|/dev/null||an empty file
three points|three.txt|0 0 0\n1 0 0\n0 1 0\n|3 points; a closed curve needs at least 4
one point of two numbers|short.txt|1 2\n|1 point; a closed curve needs at least 4
VECT without polyline|none.vect|VECT\n0 0 0\n|the VECT file holds no polyline
VECT of three vertices|three.vect|VECT\n1 3 0\n-3\n0\n0 0 0\n1 0 0\n0 1 0\n|3 points; a closed curve needs at least 4
TABLE

# --- Files that are read, with or without a note ---------------------------
knot="$out/trefoil.txt"
cp "$examples/trefoil.txt" "$knot"
expect_status 0 "$knot" --iterations 0 --output "$out/plain.txt"
if grep -q '^vek-relax: "' "$out/stderr"; then fail "a good file got a note: $(head -c 300 "$out/stderr")"; fi
# Full precision: the same points, so the same curve written.
awk '{ printf "%.18e %.18e %.18e\n", $1, $2, $3 }' "$knot" >"$out/long.txt"
expect_status 0 "$out/long.txt" --iterations 0 --output "$out/long-out.txt"
cmp -s "$out/plain.txt" "$out/long-out.txt" || fail "a %.18e file reads as another curve"
# A UTF-8 byte-order mark is skipped.
{ printf '\357\273\277'; cat "$knot"; } >"$out/marked.txt"
expect_status 0 "$out/marked.txt" --iterations 0 --output "$out/marked-out.txt"
cmp -s "$out/plain.txt" "$out/marked-out.txt" || fail "a file with a UTF-8 mark reads as another curve"
# name | text after the curve | the note
while IFS='|' read -r name tail says; do
  { cat "$knot"; printf "$tail"; } >"$out/noted.txt"
  expect_status 0 "$out/noted.txt" --iterations 0 --output "$out/noted-out.txt"
  has "$out/stderr" "$says" "$name"
done <<'TABLE'
nan in the middle|nan 1 2\n1 2 3\n|(not a number); the
inf in the middle|1 2 inf\n|(not a number); the
too large|1e999 0 0\n|(too large for a double)
an incomplete last point|0.5 0.25\n|has 2 of its 3 coordinates
TABLE

# --- A picture that would show only the background -------------------------
awk '{ print $1 + 1000, $2 + 1000, $3 }' "$knot" >"$out/far.txt"
"$picture" "$out/far.txt" "$out/far.png" >/dev/null 2>"$out/stderr"
[ $? -eq 1 ] || fail "a picture of nothing in view did not exit 1"
has "$out/stderr" "nothing of the tube lies in the view" "picture of nothing"
[ ! -e "$out/far.png" ] || fail "a picture of nothing in view was written"
"$picture" "$out/far.txt" "$out/far.png" --fit >/dev/null 2>"$out/stderr" || fail "--fit did not draw the far tube"

# --- Refused before the run ------------------------------------------------
printf '0 0 0\n1 1 1\n2 2 2\n3 3 3\n1.5 1.5 1.5\n' >"$out/line.txt"
expect_status 1 "$out/line.txt" --until-tight --output "$out/line-out.txt"
has "$out/stderr" "lie on one straight line" "collinear curve"
[ ! -e "$out/line-out.txt" ] || fail "collinear curve: an output was written"
mkdir -p "$out/sub"
# name | status | arguments after the input | what standard error says
while IFS='|' read -r name want args says; do
  rm -f "$out/never.csv"
  # shellcheck disable=SC2086
  expect_status "$want" "$knot" --until-tight $args --log "$out/never.csv"
  has "$out/stderr" "$says" "$name"
  [ ! -e "$out/never.csv" ] || [ "$want" = 2 ] || fail "$name: the log was made before the refusal"
done <<TABLE
output and mesh one file|2|--output $out/t.obj --mesh $out/sub/../t.obj|would overwrite the --output file
output and frames folder one|2|--output $out/sub/../fr --frames $out/fr|is also the name of a file of the run
output in a missing folder|1|--output $out/missing/o.txt|--output: cannot write
mesh in a missing folder|1|--output $out/o.txt --mesh $out/missing/t.stl|--mesh: cannot write
output a folder|1|--output $out/sub|--output: cannot write
TABLE
expect_status 2 "$knot" --iterations 30 --output "$out/o.txt" --log "$out/sub/../o.txt"
has "$out/stderr" "would overwrite the --output file" "log and output one file"
# A folder claimed by another run.
mkdir -p "$out/claimed"
touch "$out/claimed/.vek-frames.lock"
expect_status 1 "$knot" --iterations 30 --output "$out/o.txt" --frames "$out/claimed"
has "$out/stderr" "is in use by another run" "claimed frames folder"
rm -f "$out/claimed.csv"
expect_status 1 "$knot" --iterations 30 --output "$out/o.txt" --frames "$out/claimed" --log "$out/claimed.csv"
[ ! -e "$out/claimed.csv" ] || fail "refused frames left the log of a run that never ran"
[ -z "$(ls "$out/claimed")" ] || fail "a claimed frames folder got frames"
# Two runs into one new folder at once: one writes its frames, one is refused.
"$relax" "$knot" --iterations 90 --output "$out/a.txt" --frames "$out/both" --log "$out/a.csv" 2>"$out/a.err" &
"$relax" "$knot" --iterations 90 --output "$out/b.txt" --frames "$out/both" --log "$out/b.csv" 2>"$out/b.err" &
wait %1; sa=$?
wait %2; sb=$?
if [ $sa -eq 0 ] && [ $sb -eq 1 ]; then won=a; elif [ $sa -eq 1 ] && [ $sb -eq 0 ]; then won=b; else
  fail "two runs into one frames folder exited $sa and $sb, not 0 and 1"; won=a; fi
frames=$(ls "$out/both" | grep -c '\.png$')
rows=$(($(wc -l <"$out/$won.csv") - 1))
[ "$frames" -eq "$rows" ] || fail "two runs into one folder left $frames frames for the $rows rows of the run that wrote"
[ ! -e "$out/both/.vek-frames.lock" ] || fail "the frames folder's claim was left behind"
# A program whose picture module is missing (copied away from it): the
# frames are refused with the module's path, the run without frames goes.
mkdir -p "$out/alone/bin"
cp "$relax" "$out/alone/bin/vek-relax"
"$out/alone/bin/vek-relax" "$knot" --iterations 30 --output "$out/alone/o.txt" --frames "$out/alone/fr" 2>"$out/stderr"
[ $? -eq 1 ] || fail "frames without the picture module did not exit 1"
has "$out/stderr" "--frames: cannot load the picture module $out/alone/lib/vek/modules/vek-painter.so" "missing module"
"$out/alone/bin/vek-relax" "$knot" --iterations 30 --output "$out/alone/o.txt" 2>"$out/stderr" ||
  fail "a run without frames needed the picture module: $(head -c 300 "$out/stderr")"

# --- A full disk ------------------------------------------------------------
disk="$out/disk"
mkdir -p "$disk"
if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=96k tmpfs "$disk" 2>/dev/null; then
  expect_status 0 "$knot" --iterations 0 --output "$disk/curve.txt"
  cp "$disk/curve.txt" "$out/before.txt"
  awk 'BEGIN { for (k = 0; k < 4000; ++k) { t = 6.283185307179586 * k / 4000;
        printf "%.6f %.6f %.6f\n", sin(t) + 2 * sin(2 * t), cos(t) - 2 * cos(2 * t), -sin(3 * t) } }' >"$out/big.txt"
  expect_status 1 "$out/big.txt" --iterations 0 --output "$disk/curve.txt"
  has "$out/stderr" "No space left" "full disk"
  cmp -s "$disk/curve.txt" "$out/before.txt" || fail "a full disk changed the old output"
  [ "$(ls -A "$disk")" = curve.txt ] || fail "a full disk left $(ls -A "$disk" | tr '\n' ' ')"
  umount "$disk"
else
  echo "SKIP: no small tmpfs can be mounted here (needs root): the full-disk case is not checked"
fi

# --- Storage that runs out ---------------------------------------------------
# A curve of 1,000,000 points read under address spaces from small to
# larger: each run ends with status 1 and a message (or status 0 where it
# had enough), never with an abort; one too small to load the program's
# libraries (status 127) says nothing of it. At least one must have run out.
awk 'BEGIN { for (k = 0; k < 1000000; ++k) { t = 6.283185307179586 * k / 1000000;
      printf "%.6f %.6f %.6f\n", cos(t) + 2 * cos(2 * t), sin(t) - 2 * sin(2 * t), sin(3 * t) } }' >"$out/large.txt"
for tool in relax picture; do
  ran_out=0
  for limit in 200000 250000 300000 400000; do
    if [ $tool = relax ]; then
      (ulimit -v $limit; "$relax" "$out/large.txt" --iterations 0 --output "$out/large-out.txt") 2>"$out/stderr"
    else
      (ulimit -v $limit; "$picture" "$out/large.txt" "$out/large.png" --size 4000) 2>"$out/stderr"
    fi
    status=$?
    case $status in
      0 | 127) ;;
      1) grep -qE "out of memory|not enough memory" "$out/stderr" && ran_out=1 ||
           fail "$tool under ulimit -v $limit: status 1 without a memory message: $(head -c 300 "$out/stderr")" ;;
      *) fail "$tool under ulimit -v $limit exited $status: $(head -c 300 "$out/stderr")" ;;
    esac
  done
  [ $ran_out = 1 ] || fail "$tool never ran out of memory under the limits tried"
done

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "all bad-file cases passed"
