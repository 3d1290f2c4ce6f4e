#!/usr/bin/env bash
# How quickly the real program answers a person while it relaxes a large
# curve: a tight trefoil is loaded through the file dialog, the precision is
# set through its dialog, the run is started, and then, a few times over,
# the 計算 menu is opened (time until its window shows) and the run is
# stopped (time until the program's CPU use falls idle) and started again.
#
# Usage: tools/measure-responsiveness.sh [BUILD_DIR [PRECISION [ROUNDS]]]
#        (needs xvfb-run, xdotool; prints one line per measurement)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
precision=${2:-1000}
rounds=${3:-5}

if [ -z "${VEK_MEASURE_INNER:-}" ]; then
  VEK_MEASURE_INNER=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$build" "$precision" "$rounds"
fi

work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
"$build/tools/vek-relax" "$top/examples/trefoil.txt" --until-tight --output "$work/tight-trefoil.txt" 2>/dev/null

now_ms() { date +%s%3N; }
# The program's own windows other than the main one (a dialog, a menu).
other_windows() { xdotool search --onlyvisible --class vek 2>/dev/null | grep -v "^$win\$" || true; }
wait_other() {  # waits up to 20 s for a window besides the main one
  for _ in $(seq 1 400); do
    [ -n "$(other_windows)" ] && return 0
    sleep 0.05
  done
  return 1
}
cpu_ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }

"$build/vek" >"$work/vek.log" 2>&1 &
pid=$!
win=$(timeout 10 xdotool search --sync --onlyvisible --name '^Vek$' 2>/dev/null | tail -1 || true)
[ -n "$win" ] || { echo "measure: the Vek window did not appear" >&2; exit 1; }
xdotool windowmove --sync "$win" 0 0
xdotool windowsize --sync "$win" 640 560
xdotool windowfocus --sync "$win" 2>/dev/null || true
sleep 0.5

# ﾌｧｲﾙ(&F) → 位置データ読み込み(&O)
xdotool key --window "$win" alt+f; sleep 0.3; xdotool key o
wait_other || { echo "measure: the open dialog did not appear" >&2; exit 1; }
xdotool windowfocus --sync "$(other_windows | tail -1)" 2>/dev/null || true
sleep 0.5
xdotool key ctrl+l; sleep 0.2
xdotool type --delay 5 "$work/tight-trefoil.txt"
sleep 0.3
for _ in $(seq 1 5); do
  [ -n "$(other_windows)" ] || break
  xdotool key Return
  sleep 0.7
done

# 設定(&P) → 精度...(&D): the edit has the focus with its text selected.
xdotool windowfocus --sync "$win" 2>/dev/null || true
xdotool key --window "$win" alt+p; sleep 0.3; xdotool key d
wait_other || { echo "measure: the precision dialog did not appear" >&2; exit 1; }
xdotool windowfocus --sync "$(other_windows | tail -1)" 2>/dev/null || true
sleep 0.3
xdotool key Tab Tab; sleep 0.1
xdotool key ctrl+a; xdotool type "$precision"; xdotool key Return
sleep 0.5
[ -z "$(other_windows)" ] || { echo "measure: the precision dialog did not close" >&2; exit 1; }

start_run() {
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  xdotool key --window "$win" alt+c; sleep 0.3; xdotool key s
}
start_run
sleep 8
echo "precision $precision, $(grep -c . "$work/tight-trefoil.txt") points loaded"

for round in $(seq 1 "$rounds"); do
  # 計算(&C): from the key to the menu's window.
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  t0=$(now_ms)
  xdotool key --window "$win" alt+c
  wait_other || { echo "measure: the menu did not open" >&2; exit 1; }
  t1=$(now_ms)
  # 中断(&T): from the key until the CPU use has stayed idle for 0.3 s.
  xdotool key t
  t2=$(now_ms)
  last=$(cpu_ticks); idle_since=""
  while :; do
    sleep 0.05
    ticks=$(cpu_ticks); t=$(now_ms)
    if [ "$ticks" -le $(( last + 1 )) ]; then
      [ -n "$idle_since" ] || idle_since=$t
      [ $(( t - idle_since )) -ge 300 ] && break
    else
      idle_since=""
    fi
    last=$ticks
    [ $(( t - t2 )) -gt 20000 ] && { echo "measure: the run did not stop within 20 s" >&2; exit 1; }
  done
  echo "round $round: menu opened in $(( t1 - t0 )) ms, run stopped in $(( idle_since - t2 )) ms"
  start_run
  sleep 5
done
