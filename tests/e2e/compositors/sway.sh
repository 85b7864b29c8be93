#!/usr/bin/env bash
# The Linux program on sway, a Wayland compositor, through XWayland: headless,
# with a native Wayland window as the desktop behind the mascot, the pointer
# played through wayvnc and what is shown read from grim's screenshots.
#
#   tests/e2e/compositors/sway.sh BUILD_DIR
#
# sway refuses to run as root; as root the session runs as the user pelmo-e2e,
# made here when missing. Screenshots are kept in BUILD_DIR/e2e-sway.
set -uo pipefail

build=$(cd "${1:?usage: sway.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
suite=sway
artifacts=$build/e2e-sway
backdrop_colour=336633
bar_top=770 # swaybar, at the bottom
source "$here/../../../scripts/lib/xvfb.sh"
require_tools e2e-sway "scripts/install-deps installs the test packages" sway swaybar grim \
  wayvnc swaymsg dbus-run-session dbus-send xwininfo convert python3 Xwayland
source "$here/lib.sh"
prepare_session "$build/app/pelmo" "$build/tests/e2e/compositors/pelmo-e2e-backdrop"

cat >"$work/config" <<CONFIG
xwayland enable
output HEADLESS-1 resolution 1280x800 bg #$backdrop_colour solid_color
default_border none
bar {
  position bottom
  tray_output *
  status_command echo Pelmo
}
CONFIG
session_env=(env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
  PELMO_E2E_SESSION="$session_mark" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1
  WLR_RENDERER=pixman LANG=C.UTF-8)
# With a session bus, so that swaybar hosts StatusNotifierItems.
"${as_user[@]}" "${session_env[@]}" dbus-run-session sway -c "$work/config" >"$work/sway.log" 2>&1 &
compositor_pid=$!
socket() { ls "$work"/run/sway-ipc.*.sock 2>/dev/null | head -1; }
if ! wait_for 15 socket; then
  echo "e2e-sway: skipped: sway did not start here ($(tail -1 "$work/sway.log"))" >&2
  exit 0
fi
export SWAYSOCK
SWAYSOCK=$(socket)
wayland=$(cd "$work/run" && ls wayland-* | grep -v lock | head -1)
user_env=("${session_env[@]}" SWAYSOCK="$SWAYSOCK" WAYLAND_DISPLAY="$wayland")

# Whatever the session started gets XWayland's display: read it from there.
"${as_user[@]}" "${user_env[@]}" swaymsg exec \
  "echo \$DISPLAY \$DBUS_SESSION_BUS_ADDRESS > $work/display" >/dev/null
if ! wait_for 15 test -s "$work/display"; then
  echo "e2e-sway: skipped: sway started no XWayland here" >&2
  exit 0
fi
read -r display bus <"$work/display"

in_session() {
  local command="$*"
  if [ "${command: -1}" = "&" ]; then
    "${as_user[@]}" "${user_env[@]}" swaymsg exec "${command%&}" >/dev/null
  else
    "${as_user[@]}" "${user_env[@]}" DISPLAY="$display" "$@"
  fi
}
screenshot() { in_session grim -t ppm "$1"; }

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
in_session wayvnc 127.0.0.1 "$port" "&"
pointer() { python3 "$here/vnc_pointer.py" "$port" "$@"; }
wait_for 10 pointer move:640,400 || {
  echo "e2e-sway: wayvnc did not start; the pointer cannot be played" >&2
  exit 1
}
end_session() {
  "${as_user[@]}" "${user_env[@]}" swaymsg exit >/dev/null 2>&1
  wait "$compositor_pid" 2>/dev/null
  compositor_pid=
}

# The tray icon through a StatusNotifierItem host, swaybar: registered with the
# watcher, and a click on it, which is such a host's activation, brings back a
# mascot that was put away from its menu.
check_tray() {
  start_pelmo 70219
  wait_for 20 shown Form1 || fail "no mascot window appeared for the tray checks"
  registered() {
    in_session env DBUS_SESSION_BUS_ADDRESS="$bus" dbus-send --session --print-reply \
      --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
      org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
      string:RegisteredStatusNotifierItems | grep -q StatusNotifierItem
  }
  wait_for 10 registered && pass "the tray icon is registered with swaybar's StatusNotifierWatcher" ||
    fail "no StatusNotifierItem registered"
  local wx wy ww wh mx my
  sleep 1
  read -r wx wy ww wh < <(geometry Form1)
  pointer move:$((wx + ww / 2)),$((wy + wh * 3 / 5)) click:3 >/dev/null
  wait_for 5 menu_open || fail "the mascot's menu did not open for the tray checks"
  sleep 0.5
  # Its second item puts the mascot away.
  read -r mx my _ <<<"$menu"
  pointer move:$((mx + 50)),$((my + 32)) click:1 >/dev/null
  hidden() { ! shown Form1; }
  if wait_for 5 hidden; then
    # The icon is the rightmost thing on the bar at the bottom of the screen.
    pointer move:1266,790 click:1 >/dev/null
    wait_for 5 shown Form1 && pass "a click on the StatusNotifierItem brings the mascot back" ||
      fail "a click on the tray icon in swaybar did not bring the mascot back"
  else
    fail "the mascot's menu did not put it away"
  fi
  session_processes | awk '$2 == "pelmo" {print $1}' | xargs -r kill
  wait_for 5 pelmo_gone
}

in_session QT_QPA_PLATFORM=wayland "$work/pelmo-e2e-backdrop" "$clicks" "$backdrop_colour" "&"
sleep 2
echo "e2e-sway: sway $(sway --version | awk '{print $3}'), XWayland display $display"
check_walking
check_handling
check_tray
check_session_end
report_checks
