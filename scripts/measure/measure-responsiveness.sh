#!/usr/bin/env bash
# How quickly the real program answers a person while it relaxes a large
# curve: a tight trefoil is loaded through the file dialog, the precision is
# set through its dialog, the run is started, and then, a few times over,
# the 計算 menu is opened (time until its window shows) and the run is
# stopped (time until the program's CPU use falls idle) and started again.
#
# Usage: scripts/measure/measure-responsiveness.sh [BUILD_DIR [PRECISION [ROUNDS]]]
#        (needs xvfb-run, xdotool; prints one line per measurement)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
precision=${2:-1000}
rounds=${3:-5}

# shellcheck source-path=SCRIPTDIR source=../xvfb-vek.sh
source "$top/scripts/xvfb-vek.sh"
vek_under_xvfb "$0" "$build" "$precision" "$rounds"

vek_prepare
now_ms() { date +%s%3N; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
vek_start measure
vek_load measure "$work/tight-trefoil.txt"

# 設定(&P) → 精度...(&D): the edit has the focus with its text selected.
xdotool windowfocus --sync "$win" 2>/dev/null || true
xdotool key --window "$win" alt+p; sleep 0.3; xdotool key d
vek_focus_other measure "precision dialog"
sleep 0.3
xdotool key Tab Tab; sleep 0.1
xdotool key ctrl+a; xdotool type "$precision"; xdotool key Return
sleep 0.5
[ -z "$(vek_other_windows)" ] || { echo "measure: the precision dialog did not close" >&2; exit 1; }

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
  vek_wait_other || { echo "measure: the menu did not open" >&2; exit 1; }
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
