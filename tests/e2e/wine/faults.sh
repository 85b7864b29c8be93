#!/usr/bin/env bash
# pelmo.exe under Wine when its desktop fails around it: the session's end
# (WM_QUERYENDSESSION, WM_ENDSESSION), a restarted shell's notification area
# (TaskbarCreated) and no audio device at all.
#   tests/e2e/wine/faults.sh [BUILD_DIR]      (default: build-windows)
# Leaves screenshots in BUILD_DIR/e2e-wine-faults.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../../build-windows}" && pwd)
source "$here/../../../scripts/lib/xvfb.sh"
source "$here/prefix.sh"
source "$here/desktop.sh"
source "$here/scenarios.sh"

work=$build/e2e-wine-faults
rm -rf "$work"
mkdir -p "$work/home"
cat >"$work/home/.asoundrc" <<ASOUND
pcm.!default {
  type file
  slave.pcm "null"
  file "$work/sound.raw"
  format "raw"
}
ASOUND

failures=0
cleanup() {
  stop_pelmo
  stop_desktop
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
}
trap cleanup EXIT

[ -x "$build/pelmo.exe" ] || { echo "no $build/pelmo.exe: run scripts/build-windows" >&2; exit 2; }
prepare_prefix "$build/wineprefix"
# The session manager's part: WM_QUERYENDSESSION and WM_ENDSESSION, nothing more.
x86_64-w64-mingw32-gcc-posix -O2 -o "$work/end_session.exe" "$here/end_session.c" || exit 2
# The restarted shell's part: the old icons gone, then TaskbarCreated.
x86_64-w64-mingw32-gcc-posix -O2 -o "$work/shell_restart.exe" "$here/shell_restart.c" || exit 2

tray_shown() { [ -n "$(tray_window)" ]; }

session_end() {
  expect "the tray icon is shown" tray_shown || return 1
  expect "the program agrees to the session's end" timeout 30 wine "$work/end_session.exe" ||
    return 1
  expect "and ends" wait_for 10 pelmo_ended || return 1
  local status=0
  wait "$PELMO_PID" || status=$?
  PELMO_PID=
  expect "with exit status 0 (got $status)" [ "$status" -eq 0 ] || return 1
  expect "and no window of it is left" wait_for 5 sh -c '! xdotool search --classname "^pelmo.exe$"'
}

# A shell that starts again has none of the old icons and says so with
# TaskbarCreated: the icon must come back, and answer the mouse again.
shell_restarted() {
  expect "the tray icon is shown" tray_shown || return 1
  expect "the shell forgets the icon" timeout 30 wine "$work/shell_restart.exe" forget || return 1
  expect "and the notification area is empty" wait_for 10 tray_gone || return 1
  expect "the shell announces itself" timeout 30 wine "$work/shell_restart.exe" announce || return 1
  expect "the icon is back" wait_for 10 tray_shown || return 1
  park_tray || return 1
  tray_icon_point
  xdotool mousemove "$TRAY_X" "$TRAY_Y" click 3
  expect "and a right-button release on it opens the tray menu" wait_for 3 menu_open || return 1
  xdotool key Escape
}

# Without a sound device a press still picks the mascot up at once, and the
# mascot still follows: the cue is lost, nothing else.
no_audio_device() {
  mascot_body_point || { echo "  no mascot body on screen"; return 1; }
  local start_x start_y
  geometry_of "$(visible_window Form1)"
  start_x=$X start_y=$Y
  xdotool mousemove "$BODY_X" "$BODY_Y" mousedown 1
  xdotool mousemove $((BODY_X + 400)) $((BODY_Y + 300))
  sleep 2.5
  geometry_of "$(visible_window Form1)"
  xdotool mouseup 1
  expect "no sound is written (the device is missing)" [ ! -s "$work/sound.raw" ] || return 1
  expect "the held mascot follows the pointer all the same ($start_x,$start_y to $X,$Y)" \
    moved_toward "$start_x" "$start_y"
}

start_desktop "$work" || { echo "e2e-wine-faults: Xvfb did not start" >&2; exit 2; }
run_scenario session_end
run_scenario shell_restarted
# An ALSA default device that does not exist: the sound driver finds nothing.
printf 'pcm.!default { type hw card 99 }\n' >"$work/home/.asoundrc"
run_scenario no_audio_device

echo "== $failures failed =="
[ "$failures" -eq 0 ]
