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

# Starts `binary` (`pid`), its output into `log`, waits for its main window
# (`win`), puts it at the top left at `width` x `height` and gives it the
# focus, as a window manager would. `name` prefixes the messages.
vek_launch() {  # name binary log width height
  "$2" >"$3" 2>&1 &
  pid=$!
  # search --sync waits for the window; timeout bounds the wait. Only this
  # process's window: the in-process GUI tests may show frames of the same
  # title on the same display at the same time.
  win=$(timeout 10 xdotool search --sync --all --onlyvisible --pid "$pid" --name '^Vek$' 2>/dev/null | tail -1 || true)
  [ -n "$win" ] || { echo "$1: the Vek window did not appear" >&2; exit 1; }
  xdotool windowmove --sync "$win" 0 0
  xdotool windowsize --sync "$win" "$4" "$5"
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  sleep 0.5
}

# The program of the build tree, at 640 x 560, its output in $work/vek.log.
vek_start() {  # name
  vek_launch "$1" "$build/vek" "$work/vek.log" 640 560
}

# ﾌｧｲﾙ(&F) → 位置データ保存(&S), the path typed into the dialog, which is
# found by its title among the program's windows (xdotool cannot match a
# title that is not ASCII). Returns once the file has been written.
vek_save_points() {  # name path
  xdotool key --window "$win" alt+f; sleep 0.3; xdotool key s
  local dialog="" w
  for _ in $(seq 1 50); do
    for w in $(xdotool search --onlyvisible --class vek 2>/dev/null || true); do
      [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "名前を付けて保存" ] && dialog=$w
    done
    [ -n "$dialog" ] && break
    sleep 0.1
  done
  [ -n "$dialog" ] || { echo "$1: the save dialog did not appear" >&2; exit 1; }
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  sleep 0.5
  xdotool key ctrl+a
  xdotool type --delay 5 "$2"
  sleep 0.5
  # The first Return may only close the name completion.
  for _ in $(seq 1 5); do
    [ -s "$2" ] && break
    xdotool windowfocus --sync "$dialog" 2>/dev/null || true
    xdotool key Return
    sleep 0.7
  done
  [ -s "$2" ] || { echo "$1: nothing was saved to $2" >&2; exit 1; }
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
