#!/usr/bin/env bash
# Makes the frame strip of the README (docs/tightening-strip.png): the real
# frames of vek-relax --frames for one example's run until tight, a few of
# them side by side, from the curve as read to the tight knot.
#
# Usage: scripts/docs/make-frame-strip.sh [BUILD_DIR [OUT.png]]
#        (needs ImageMagick's montage, Debian package imagemagick; not
#        needed to build or test Vek)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
out=${2:-$top/docs/tightening-strip.png}
command -v montage >/dev/null || { echo "make-frame-strip: needs montage (apt-get install imagemagick)" >&2; exit 1; }

# The frames shown: the blocks after 0, 60, 150, 300, 600, 1200 and 2400
# iterations (the trefoil is tight after 2400); the steps widen because
# the knot tightens fastest at the start.
example=trefoil
shown=(0 2 5 10 20 40 80)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tools/vek-relax" "$top/examples/$example.txt" --until-tight --output "$work/tight.txt" \
  --frames "$work/frames" --fit --size 200 --turn 20,0 2>"$work/summary"
count=$(find "$work/frames" -name '*.png' | wc -l)
pictures=()
for k in "${shown[@]}"; do
  [ "$k" -lt "$count" ] || { echo "make-frame-strip: the run made only $count frames" >&2; exit 1; }
  pictures+=("$(printf '%s/frames/%05d.png' "$work" "$k")")
done
montage "${pictures[@]}" -tile "${#pictures[@]}x1" -geometry +2+0 -background '#404040' "$out"
echo "make-frame-strip: $out from frames ${shown[*]} of $count ($(grep '^iterations:' "$work/summary"))"
