#!/usr/bin/env bash
# Takes the screenshot of the software-centre entry (docs/vek-window.png):
# the real program under a virtual X server, a tightened trefoil loaded
# through the file dialog and started, turned a little and zoomed in with
# the right mouse button so that the knot fills the view.
#
# Usage: tools/make-screenshot.sh [BUILD_DIR [OUT.png]]
#        (needs xvfb-run, xdotool and ImageMagick's import and convert)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
out=${2:-$top/docs/vek-window.png}
case $out in /*) ;; *) out=$PWD/$out ;; esac

if [ -z "${VEK_SCREENSHOT_INNER:-}" ]; then
  VEK_SCREENSHOT_INNER=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$build" "$out"
fi

work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
"$build/tools/vek-relax" "$top/examples/trefoil.txt" --until-tight --output "$work/tight-trefoil.txt" 2>/dev/null

"$build/vek" >"$work/vek.log" 2>&1 &
pid=$!
# search --sync waits for the window; timeout bounds the wait.
win=$(timeout 10 xdotool search --sync --onlyvisible --name '^Vek$' 2>/dev/null | tail -1 || true)
[ -n "$win" ] || { echo "make-screenshot: the Vek window did not appear" >&2; exit 1; }
xdotool windowmove --sync "$win" 0 0
xdotool windowsize --sync "$win" 640 560
xdotool windowfocus --sync "$win" 2>/dev/null || true
sleep 0.5

# ﾌｧｲﾙ(&F) → 位置データ読み込み(&O); the dialog is found by its program's
# windows, as xdotool cannot match a title that is not ASCII.
xdotool key --window "$win" alt+f; sleep 0.3; xdotool key o
dialog=""
for _ in $(seq 1 50); do
  for w in $(xdotool search --onlyvisible --class vek 2>/dev/null || true); do
    [ "$w" != "$win" ] && dialog=$w
  done
  [ -n "$dialog" ] && break
  sleep 0.1
done
[ -n "$dialog" ] || { echo "make-screenshot: the open dialog did not appear" >&2; exit 1; }
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
sleep 0.5
xdotool key ctrl+l; sleep 0.2
xdotool type --delay 5 "$work/tight-trefoil.txt"
sleep 0.3
for _ in $(seq 1 5); do
  xdotool search --onlyvisible --class vek 2>/dev/null | grep -qv "^$win\$" || break
  xdotool key Return
  sleep 0.7
done

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
