#!/usr/bin/env bash
# End to end, as a person would: click a trefoil into the empty sketch of
# the real program (the wheel sets each point's depth), start the
# relaxation, wait, stop, save through the file dialog, and check the saved
# curve with vek-relax. Screenshots of the sketch and of the relaxed tube
# are kept in the output folder.
#
# Usage: sketch_relax_save.sh VEK VEK_RELAX OUTPUT_DIR   (needs $DISPLAY)
set -euo pipefail
vek=$1
relax=$2
out=$3
mkdir -p "$out"
saved="$out/relaxed-trefoil.txt"
rm -f "$saved"

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(dirname "$vek")
# shellcheck source-path=SCRIPTDIR source=../../scripts/xvfb-vek.sh
source "$top/scripts/xvfb-vek.sh"

pid=""
cleanup() { kill "$pid" 2>/dev/null || true; }
trap cleanup EXIT
vek_launch FAIL "$vek" "$out/vek.log" 700 640

# The view's client area: the window minus the menu bar.
eval "$(xdotool getwindowgeometry --shell "$win")"
menu=30
cx=$(( X + WIDTH / 2 )); cy=$(( Y + menu + (HEIGHT - menu) / 2 ))
scale=$(( WIDTH < HEIGHT - menu ? WIDTH : HEIGHT - menu ))

# 21 points of a trefoil; the over-strands get the larger depth.
awk -v cx="$cx" -v cy="$cy" -v s="$scale" 'BEGIN {
  n = 21; depth = 10
  for (k = 0; k < n; k++) {
    t = 2 * 3.141592653589793 * k / n
    x = (sin(t) + 2 * sin(2 * t)) / 10.5
    y = (cos(t) - 2 * cos(2 * t)) / 10.5
    z = int(10 + 5 * -sin(3 * t) + 0.5)
    printf "%d %d %d\n", cx + x * s, cy - y * s, z - depth
    depth = z
  }
}' > "$out/clicks.txt"

while read -r px py notches; do
  xdotool mousemove --sync "$px" "$py"
  if [ "$notches" -gt 0 ]; then xdotool click --repeat "$notches" --delay 20 4; fi
  if [ "$notches" -lt 0 ]; then xdotool click --repeat $(( -notches )) --delay 20 5; fi
  xdotool click 1
  sleep 0.05
done < "$out/clicks.txt"
sleep 0.5
import -window root "$out/sketch.png"

# 計算(&C) → 開始(&S)
xdotool key --window "$win" alt+c; sleep 0.3; xdotool key s
sleep "${VEK_E2E_RUN_SECONDS:-12}"
import -window root "$out/running.png"
# 計算(&C) → 中断(&T)
xdotool key --window "$win" alt+c; sleep 0.3; xdotool key t
sleep 1
import -window root "$out/relaxed.png"

# ﾌｧｲﾙ(&F) → 位置データ保存(&S) through the file dialog.
vek_save_points FAIL "$saved"

# Close: after Stop the program ends at once.
xdotool windowfocus --sync "$win" 2>/dev/null || true
xdotool key --window "$win" alt+f; sleep 0.3; xdotool key x
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then echo "FAIL: Vek did not close after 終了"; exit 1; fi

summary=$("$relax" "$saved" --iterations 0 2>&1 >/dev/null)
echo "$summary"
points=$(echo "$summary" | awk -F': ' '/^points/ {print $2}')
ratio=$(echo "$summary" | awk -F': ' '/^nominal length \/ thickness/ {print $2}')
awk -v p="$points" -v r="$ratio" 'BEGIN {
  ok = (p >= 60 && p <= 70 && r >= 16 && r <= 16.7)
  printf "%s: %d points, length / thickness %s\n", ok ? "PASS" : "FAIL", p, r
  exit ok ? 0 : 1
}'
