#!/usr/bin/env bash
# Takes the screenshot of the software-centre entry (docs/vek-window.png):
# the real program under a virtual X server, a tightened trefoil loaded
# through the file dialog and started, turned a little and zoomed in with
# the right mouse button so that the knot fills the view.
#
# Usage: scripts/docs/make-screenshot.sh [BUILD_DIR [OUT.png]]
#        (needs xvfb-run, xdotool and ImageMagick's import and convert)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
out=${2:-$top/docs/vek-window.png}
case $out in /*) ;; *) out=$PWD/$out ;; esac

# shellcheck source-path=SCRIPTDIR source=../xvfb-vek.sh
source "$top/scripts/xvfb-vek.sh"
vek_under_xvfb "$0" "$build" "$out"

vek_prepare
vek_start make-screenshot
vek_load make-screenshot "$work/tight-trefoil.txt"

# 計算(&C) → 開始(&S): the tight curve stays tight; then 中断(&T).
xdotool windowfocus --sync "$win" 2>/dev/null || true
xdotool key --window "$win" alt+c; sleep 0.3; xdotool key s
sleep 2
xdotool key --window "$win" alt+c; sleep 0.3; xdotool key t
sleep 0.5

# A left drag turns the knot, a right drag upwards zooms in.
eval "$(xdotool getwindowgeometry --shell "$win")"
cx=$(( X + WIDTH / 2 )); cy=$(( Y + HEIGHT / 2 ))
drag() {  # button dx dy, in 20 moves
  xdotool mousemove --sync "$cx" "$cy"; sleep 0.1
  xdotool mousedown "$1"; sleep 0.1
  for step in $(seq 1 20); do
    xdotool mousemove $(( cx + $2 * step / 20 )) $(( cy + $3 * step / 20 ))
    sleep 0.05
  done
  xdotool mouseup "$1"
  sleep 0.3
}
drag 3 250 -250
drag 3 200 -200
drag 1 0 -90
sleep 0.5
import -window "$win" "$work/window.png"
convert "$work/window.png" -strip "$out"
echo "make-screenshot: wrote $out"
