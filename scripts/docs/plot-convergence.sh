#!/usr/bin/env bash
# Plots how the examples pull tight (docs/convergence.png, shown in the
# README): each example run with vek-relax --until-tight --refine 3,10
# --log, then the certified ropelength and the nominal length / thickness
# of every logged block against the iterations.
#
# Usage: scripts/docs/plot-convergence.sh [BUILD_DIR [OUT.png]]
#        (needs gnuplot with its pngcairo terminal: Debian package
#        gnuplot-nox or gnuplot; not needed to build or test Vek)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
out=${2:-$top/docs/convergence.png}
command -v gnuplot >/dev/null || { echo "plot-convergence: needs gnuplot (apt-get install gnuplot-nox)" >&2; exit 1; }

examples=(trefoil figure-eight cinquefoil 5_2 6_1 6_2 6_3 7_1)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for name in "${examples[@]}"; do
  "$build/tools/vek-relax" "$top/examples/$name.txt" --until-tight --refine 3,10 \
    --output "$work/$name.txt" --log "$work/$name.csv" 2>"$work/$name.summary" ||
    { echo "plot-convergence: vek-relax failed on $name" >&2; cat "$work/$name.summary" >&2; exit 1; }
done

# The logs' columns: iteration, points, length, nominal, ropelength, ...
files=""
for name in "${examples[@]}"; do files="$files $work/$name.csv"; done
gnuplot <<GNUPLOT
set terminal pngcairo size 900,720 font "DejaVu Sans,10"
set output "$out"
set datafile separator ","
set key autotitle columnhead
files = "$files"
names = "${examples[*]}"
set multiplot layout 2,1 title "vek-relax --until-tight --refine 3,10 on the examples (--log, one point per block of 30 iterations)"
set logscale y
set ytics (16, 20, 25, 30, 40, 60, 100, 200, 400)
set yrange [15:400]
set grid
set ylabel "certified ropelength\nlength / (2 x certified thickness)"
set key top right
plot for [k=1:words(files)] word(files, k) using 1:5 with lines lw 1.5 title word(names, k)
set ylabel "nominal length / thickness\nlength / 0.03"
set xlabel "iteration"
set yrange [15:130]
set ytics (16, 20, 25, 30, 40, 60, 100)
plot for [k=1:words(files)] word(files, k) using 1:4 with lines lw 1.5 title word(names, k)
unset multiplot
GNUPLOT
echo "plot-convergence: $out"
