# shellcheck shell=bash
# Shared by the scripts that drive the real program under a virtual X server
# (sourced, not run). The caller sets `top` (the source tree) and `build`
# (the build tree) before it calls these.
: "${top:?the source tree}" "${build:?the build tree}"

# Runs the calling script again inside xvfb-run, once: call it first, with
# the script's own arguments.
vek_under_xvfb() {  # script args...
  if [ -z "${VEK_XVFB_INNER:-}" ]; then
    VEK_XVFB_INNER=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$@"
  fi
}

# The program's own windows other than the main one (a dialog, a menu).
vek_other_windows() { xdotool search --onlyvisible --class vek 2>/dev/null | grep -v "^$win\$" || true; }

vek_wait_other() {  # waits up to 20 s for a window besides the main one
  for _ in $(seq 1 400); do
    [ -n "$(vek_other_windows)" ] && return 0
    sleep 0.05
  done
  return 1
}

# Waits for a window besides the main one (`what`, for the message) and
# gives it the focus, as a window manager would.
vek_focus_other() {  # name what
  vek_wait_other || { echo "$1: the $2 did not appear" >&2; exit 1; }
  xdotool windowfocus --sync "$(vek_other_windows | tail -1)" 2>/dev/null || true
}

# A temporary folder in `work` holding the tightened trefoil
# ($work/tight-trefoil.txt); it goes, and the program is ended, on exit.
vek_prepare() {
  work=$(mktemp -d)
  trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
  "$build/tools/vek-relax" "$top/examples/trefoil.txt" --until-tight --output "$work/tight-trefoil.txt" 2>/dev/null
}

# Starts the program (`pid`), waits for its main window (`win`), puts it at
# the top left at 640 x 560 and gives it the focus, as a window manager
# would. `name` prefixes the messages.
vek_start() {  # name
  "$build/vek" >"$work/vek.log" 2>&1 &
  pid=$!
  # search --sync waits for the window; timeout bounds the wait.
  win=$(timeout 10 xdotool search --sync --onlyvisible --name '^Vek$' 2>/dev/null | tail -1 || true)
  [ -n "$win" ] || { echo "$1: the Vek window did not appear" >&2; exit 1; }
  xdotool windowmove --sync "$win" 0 0
  xdotool windowsize --sync "$win" 640 560
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  sleep 0.5
}

# ﾌｧｲﾙ(&F) → 位置データ読み込み(&O), the file's path typed into the dialog;
# the dialog is found among the program's windows, as xdotool cannot match
# a title that is not ASCII.
vek_load() {  # name file
  xdotool key --window "$win" alt+f; sleep 0.3; xdotool key o
  vek_focus_other "$1" "open dialog"
  sleep 0.5
  xdotool key ctrl+l; sleep 0.2
  xdotool type --delay 5 "$2"
  sleep 0.3
  for _ in $(seq 1 5); do
    [ -n "$(vek_other_windows)" ] || break
    xdotool key Return
    sleep 0.7
  done
}
