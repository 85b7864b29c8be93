#!/usr/bin/env bash
# The Linux program on KWin, Plasma's Wayland compositor, through XWayland: a
# virtual output, a native Wayland window as the desktop behind the mascot, the
# pointer played through KWin's fake input and what is shown read from KWin's
# own screenshots over D-Bus.
#
#   tests/e2e/compositors/kwin.sh BUILD_DIR
#
# As root the session runs as the user pelmo-e2e, made here when missing.
# Screenshots are kept in BUILD_DIR/e2e-kwin.
set -uo pipefail

build=$(cd "${1:?usage: kwin.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
suite=kwin
artifacts=$build/e2e-kwin
backdrop_colour=336633
source "$here/../../../scripts/lib/xvfb.sh"
require_tools e2e-kwin "scripts/install-deps installs the test packages" kwin_wayland \
  dbus-run-session xwininfo convert python3 Xwayland
/usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin python3 -c 'import dbus' 2>/dev/null || {
  echo "e2e-kwin: python3-dbus is missing (scripts/install-deps installs the test packages)" >&2
  exit 2
}
source "$here/lib.sh"
tools=$build/tests/e2e/compositors
prepare_session "$build/app/pelmo" "$tools/pelmo-e2e-backdrop" "$tools/pelmo-e2e-fake-pointer" \
  "$here/kwin_shot.py"

# In containers exec refuses a binary that carries a file capability, as the
# installed kwin_wayland does; a plain copy runs. KWin knows itself by that name.
mkdir -p "$work/bin"
cp "$(command -v kwin_wayland)" "$work/bin/kwin_wayland"

# The session: KWin starts it once Wayland and XWayland are up, with their
# displays and the bus in its environment, and ends when it ends, as Plasma's
# session does. It ends when asked to log out.
cat >"$work/session" <<SESSION
#!/bin/sh
echo "\$DISPLAY \$WAYLAND_DISPLAY \$DBUS_SESSION_BUS_ADDRESS" >"$work/display"
while [ ! -e "$work/logout" ]; do sleep 0.2; done
SESSION
chmod 755 "$work/session"
session_env=(env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
  PELMO_E2E_SESSION="$session_mark" LANG=C.UTF-8 KWIN_WAYLAND_NO_PERMISSION_CHECKS=1
  KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1)
"${as_user[@]}" "${session_env[@]}" dbus-run-session -- "$work/bin/kwin_wayland" --virtual \
  --xwayland --width 1280 --height 800 --no-lockscreen --no-global-shortcuts \
  --socket "pelmo-kwin-${session_mark#pelmo-kwin.}" --exit-with-session "$work/session" >"$work/kwin.log" 2>&1 &
compositor_pid=$!
if ! wait_for 30 test -s "$work/display"; then
  echo "e2e-kwin: skipped: KWin with XWayland did not start here ($(tail -1 "$work/kwin.log"))" >&2
  exit 0
fi
read -r display wayland bus <"$work/display"
user_env=("${session_env[@]}" DISPLAY="$display" WAYLAND_DISPLAY="$wayland"
  DBUS_SESSION_BUS_ADDRESS="$bus")

in_session() {
  local command="$*"
  if [ "${command: -1}" = "&" ]; then
    "${as_user[@]}" "${user_env[@]}" bash -c "${command%&}" &
  else
    "${as_user[@]}" "${user_env[@]}" "$@"
  fi
}
screenshot() { in_session python3 "$work/kwin_shot.py" "$1"; }
pointer() { in_session "$work/pelmo-e2e-fake-pointer" "$@"; }
wait_for 10 pointer move:640,400 || {
  echo "e2e-kwin: KWin's fake input does not take the pointer: $(pointer move:640,400 2>&1)" >&2
  exit 1
}
end_session() {
  touch "$work/logout"
  wait "$compositor_pid" 2>/dev/null
  compositor_pid=
}

in_session QT_QPA_PLATFORM=wayland "$work/pelmo-e2e-backdrop" "$clicks" "$backdrop_colour" \
  ">$work/backdrop.log" "2>&1" "&"
# The backdrop fills (nearly all) the screen.
backdrop_shown() {
  screenshot "$work/shot.ppm" &&
    (($("${shot_tool[@]}" count "$work/shot.ppm" "$backdrop_colour") > 1000000))
}
wait_for 10 backdrop_shown || fail "the native Wayland backdrop did not fill the screen"
echo "e2e-kwin: $("$work/bin/kwin_wayland" --version 2>/dev/null), XWayland display $display"
run_checks
# KWin's log tells whether XWayland went away and was started again under the program.
cp "$work/kwin.log" "$artifacts/"
report_checks
