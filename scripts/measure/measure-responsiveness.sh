#!/usr/bin/env bash
# How quickly the real program answers a person while it relaxes a large
# curve: a tight trefoil is loaded through the file dialog, the precision is
# set through its dialog, the run is started, and then, a few times over,
# a short left drag turns the tube (time from the release until the
# picture has changed), the 計算 menu is opened (time until its window
# shows) and the run is stopped and started again. Each round first times
# a block of 30 iterations from the status bar. Two times are given for
# the stop: until the run's threads (the window's own and the relaxation's
# workers) fall idle, which is when the stopped tube is drawn and the window
# answers; and until the whole program is idle, which also waits for the
# status bar's figures of the stopped curve, measured on their own
# low-priority thread. The resident memory is read after each round, and
# its peak at the end.
#
# Usage: scripts/measure/measure-responsiveness.sh [BUILD_DIR [PRECISION [ROUNDS]]]
#        (needs xvfb-run, xdotool, ImageMagick; prints one line per round)
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
# CPU ticks of the program's threads: those of the run (every thread but
# the figures', which runs in the idle class, policy 5, or at nice 19 where
# that is refused) and all of them. The thread's name in the second
# field may hold spaces, so the fields are counted after it.
thread_ticks() {  # prints "run all"
  cat /proc/"$pid"/task/*/stat 2>/dev/null | awk '
    { sub(/^.*\) /, ""); all += $12 + $13; if ($17 != 19 && $39 != 5) run += $12 + $13 }
    END { print run + 0, all + 0 }'
}
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

rss_mb() { awk -v k="$1:" '$1 == k {printf "%d", $2 / 1024}' "/proc/$pid/status"; }
shot() { import -window "$win" "$1" 2>/dev/null; }
# Pixels that differ by more than a tenth of their range.
changed_pixels() { compare -fuzz 10% -metric AE "$1" "$2" null: 2>&1 | awk '{printf "%d", $1}'; }
# The time a block of 30 iterations takes, with its tube and drawing: the
# status bar's 反復 field (its last fifth) changes once a block. Sampled for
# up to 40 s, or until four changes were seen; the median of the intervals
# between changes, in ms (empty when fewer than two were seen).
block_ms() {
  eval "$(xdotool getwindowgeometry --shell "$win")"
  local crop="$(( WIDTH / 5 ))x16+$(( WIDTH * 4 / 5 - 30 ))+$(( HEIGHT - 18 ))"
  local t0 last="" changes=()
  t0=$(now_ms)
  import -window "$win" -crop "$crop" "$work/field-a.png" 2>/dev/null
  while [ $(( $(now_ms) - t0 )) -lt 40000 ] && [ ${#changes[@]} -lt 4 ]; do
    sleep 0.05
    import -window "$win" -crop "$crop" "$work/field-b.png" 2>/dev/null
    if [ "$(changed_pixels "$work/field-a.png" "$work/field-b.png")" -gt 0 ]; then
      changes+=("$(now_ms)")
      mv "$work/field-b.png" "$work/field-a.png"
    fi
  done
  [ ${#changes[@]} -ge 2 ] || return 0
  for ((k = 1; k < ${#changes[@]}; ++k)); do echo $(( changes[k] - changes[k - 1] )); done |
    sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

for round in $(seq 1 "$rounds"); do
  block=$(block_ms)
  # A drag of 60 pixels to the right: from the release until at least 100
  # pixels of the window have changed (the tight knot covers about 900 in
  # the starting view; its relaxation alone moves a few).
  eval "$(xdotool getwindowgeometry --shell "$win")"
  cx=$(( X + WIDTH / 2 )); cy=$(( Y + HEIGHT / 2 ))
  shot "$work/before.png"
  xdotool mousemove --sync "$cx" "$cy" mousedown 1
  for step in 1 2 3; do xdotool mousemove $(( cx + 20 * step )) "$cy"; sleep 0.02; done
  xdotool mouseup 1
  t0=$(now_ms); turned=""
  while [ $(( $(now_ms) - t0 )) -lt 60000 ]; do
    shot "$work/after.png"
    if [ "$(changed_pixels "$work/before.png" "$work/after.png")" -ge 100 ]; then turned=$(( $(now_ms) - t0 )); break; fi
  done
  # 計算(&C): from the key to the menu's window.
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  t0=$(now_ms)
  xdotool key --window "$win" alt+c
  until [ -n "$(vek_other_windows)" ]; do
    sleep 0.02
    [ $(( $(now_ms) - t0 )) -gt 120000 ] && { echo "measure: the menu did not open within 120 s" >&2; exit 1; }
  done
  t1=$(now_ms)
  # 中断(&T): from the key until the run's threads, then all of the
  # program's, have stayed idle for 0.3 s.
  xdotool key t
  t2=$(now_ms)
  read -r last_run last_all < <(thread_ticks)
  run_idle=""; all_idle=""; run_done=""
  while :; do
    sleep 0.02
    read -r ticks_run ticks_all < <(thread_ticks); t=$(now_ms)
    if [ -z "$run_done" ]; then
      if [ "$ticks_run" -le $(( last_run + 1 )) ]; then
        [ -n "$run_idle" ] || run_idle=$t
        [ $(( t - run_idle )) -ge 300 ] && run_done=1
      else
        run_idle=""
      fi
    fi
    if [ "$ticks_all" -le $(( last_all + 1 )) ]; then
      [ -n "$all_idle" ] || all_idle=$t
      [ -n "$run_done" ] && [ $(( t - all_idle )) -ge 300 ] && break
    else
      all_idle=""
    fi
    last_run=$ticks_run; last_all=$ticks_all
    [ $(( t - t2 )) -gt 120000 ] && { echo "measure: the run did not stop within 120 s" >&2; exit 1; }
  done
  echo "round $round: block of 30 iterations ${block:-(not seen)} ms," \
       "turn shown after ${turned:-(more than 60000)} ms, menu opened in $(( t1 - t0 )) ms," \
       "run stopped in $(( run_idle - t2 )) ms, figures done in $(( all_idle - t2 )) ms, resident $(rss_mb VmRSS) MB"
  start_run
  sleep 5
done
echo "peak resident memory $(rss_mb VmHWM) MB"
cp "$work/vek.log" /tmp/vek-trace.log
