#!/usr/bin/env bash
# The Linux program on GNOME Shell (mutter) through XWayland: headless, with a
# native Wayland window as the desktop behind the mascot, the pointer played
# through a virtual Clutter device made by the shell's Eval and what is shown
# read from the shell's own screenshots.
#
#   tests/e2e/compositors/gnome.sh BUILD_DIR
#
# The shell wants a system bus. As root the session gets a private one in a
# mount namespace, and runs as the user pelmo-e2e, made here when missing.
# Eval and screenshots are refused to other programs unless the shell runs in
# unsafe mode: a small extension of the test's own turns it on, hides the top
# bar (so that the backdrop fills the screen from its corner) and keeps the
# shell from opening its overview. Screenshots are kept in BUILD_DIR/e2e-gnome.
set -uo pipefail

build=$(cd "${1:?usage: gnome.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
suite=gnome
artifacts=$build/e2e-gnome
backdrop_colour=336633
source "$here/../../../scripts/lib/xvfb.sh"
require_tools e2e-gnome "scripts/install-deps installs the test packages" gnome-shell gdbus \
  dbus-run-session dbus-daemon unshare xwininfo convert python3 Xwayland
for tool in "$build/app/pelmo" "$build/tests/e2e/compositors/pelmo-e2e-backdrop"; do
  [ -x "$tool" ] || {
    echo "e2e-gnome: $tool is missing; build the project first" >&2
    exit 2
  }
done
source "$here/lib.sh"

rm -rf "$artifacts" && mkdir -p "$artifacts"
work=$(mktemp -d /tmp/pelmo-gnome.XXXXXX)
chmod 755 "$work"
session_mark=$(basename "$work")
wayland=pelmo-gnome-${session_mark##*.}
cp "$build/app/pelmo" "$build/tests/e2e/compositors/pelmo-e2e-backdrop" "$work/"
pelmo=$work/pelmo
clicks=$work/clicks.log
extension=$work/home/.local/share/gnome-shell/extensions/pelmo-e2e@pelmo
mkdir -p "$work/run" "$extension" "$work/home/.config/glib-2.0/settings"
touch "$clicks"

cat >"$extension/metadata.json" <<'JSON'
{"uuid": "pelmo-e2e@pelmo", "name": "Pelmo test session",
 "description": "Opens the shell to the test's Eval and screenshots", "shell-version": ["43"]}
JSON
cat >"$extension/extension.js" <<'JS'
const Main = imports.ui.main;

function init() {}

function enable() {
  // The shell announces unsafe mode with a banner that would lie over the desktop.
  Main.messageTray.bannerBlocked = true;
  global.context.unsafe_mode = true;
  Main.panel.hide();
  if (Main.layoutManager._startingUp)
    Main.layoutManager.connect('startup-complete', () => Main.overview.hide());
  else
    Main.overview.hide();
}

function disable() {}
JS
# The settings are read from a key file: no dconf to feed. No hot corner either,
# for the pointer visits the screen's corners.
cat >"$work/home/.config/glib-2.0/settings/keyfile" <<'KEYS'
[org/gnome/shell]
enabled-extensions=['pelmo-e2e@pelmo']

[org/gnome/desktop/interface]
enable-hot-corners=false

[org/gnome/desktop/session]
idle-delay=uint32 0
KEYS

as_user=()
if ((EUID == 0)); then
  id pelmo-e2e >/dev/null 2>&1 || useradd --system --no-create-home pelmo-e2e
  chown -R pelmo-e2e "$work" "$artifacts"
  as_user=(runuser -u pelmo-e2e --)
fi
chmod 700 "$work/run"

session_env=(env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
  PELMO_E2E_SESSION="$session_mark" GSETTINGS_BACKEND=keyfile LANG=C.UTF-8)
shell=("${as_user[@]}" "${session_env[@]}" dbus-run-session -- bash -c
  'echo "$DBUS_SESSION_BUS_ADDRESS" >"$0/bus"; echo $$ >"$0/shell.pid"; exec gnome-shell --headless \
  --wayland --wayland-display "$1" --virtual-monitor 1280x800' "$work" "$wayland")

# A system bus of the session's own that serves nothing: the shell only asks
# it for services it does without, and none is started for it.
cat >"$work/system.conf" <<'CONF'
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=/run/dbus/system_bus_socket</listen>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_type="method_call"/>
    <allow send_type="signal"/>
    <allow send_type="method_return"/>
    <allow send_type="error"/>
    <allow receive_type="method_call"/>
    <allow receive_type="signal"/>
    <allow receive_type="method_return"/>
    <allow receive_type="error"/>
  </policy>
</busconfig>
CONF
private_bus() { # COMMAND...: in a mount namespace where /run/dbus holds that bus
  mount -t tmpfs tmpfs /run/dbus && mount -t tmpfs tmpfs /run/systemd || exit 3
  env -i dbus-daemon --config-file="$work/system.conf" --nofork --nopidfile &
  local bus_pid=$!
  wait_for 5 test -S /run/dbus/system_bus_socket
  "$@"
  kill "$bus_pid"
  wait "$bus_pid"
}

session_pid=
shell_pid() { cat "$work/shell.pid" 2>/dev/null; }
cleanup() {
  local pid
  pid=$(shell_pid)
  [ -n "$session_pid" ] && [ -n "$pid" ] && kill "$pid" 2>/dev/null
  wait 2>/dev/null
  cp "$work/shell.log" "$artifacts/" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

if ((EUID == 0)); then
  export -f private_bus wait_for
  export work
  unshare -m bash -c 'private_bus "$@"' private_bus "${shell[@]}" >"$work/shell.log" 2>&1 &
elif [ -S /run/dbus/system_bus_socket ]; then
  "${shell[@]}" >"$work/shell.log" 2>&1 &
else
  echo "e2e-gnome: skipped: gnome-shell needs a system bus, and only root can make one here" >&2
  exit 0
fi
session_pid=$!

bus=
evaluate() { # JS: prints what the shell's Eval answers, fails when it refuses
  local reply
  reply=$("${as_user[@]}" env DBUS_SESSION_BUS_ADDRESS="$bus" gdbus call --session \
    --dest org.gnome.Shell --object-path /org/gnome/Shell --method org.gnome.Shell.Eval "$1") &&
    [[ $reply == "(true, "* ]] && echo "$reply"
}
ready() {
  [ -n "$bus" ] || read -r bus <"$work/bus" || return 1
  evaluate 'Main.layoutManager._startingUp || Main.overview.visible ? "" : "up"' | grep -q up
}
if ! wait_for 30 ready; then
  echo "e2e-gnome: skipped: gnome-shell did not start here in unsafe mode" \
    "($(grep -v '^ *$' "$work/shell.log" | tail -1))" >&2
  exit 0
fi
display=$(grep -oE 'Using public X11 display :[0-9]+' "$work/shell.log" | grep -oE ':[0-9]+$')
xauthority=$(ls "$work"/run/.mutter-Xwaylandauth.* 2>/dev/null | head -1)
if [ -z "$display" ] || [ -z "$xauthority" ]; then
  echo "e2e-gnome: skipped: gnome-shell started no XWayland here" >&2
  exit 0
fi
user_env=("${session_env[@]}" WAYLAND_DISPLAY="$wayland" DISPLAY="$display"
  XAUTHORITY="$xauthority" DBUS_SESSION_BUS_ADDRESS="$bus")

in_session() {
  local command="$*"
  if [ "${command: -1}" = "&" ]; then
    "${as_user[@]}" "${user_env[@]}" bash -c "${command%&}" &
  else
    "${as_user[@]}" "${user_env[@]}" "$@"
  fi
}
screenshot() {
  rm -f "$work/shot.png"
  in_session gdbus call --session --dest org.gnome.Shell.Screenshot \
    --object-path /org/gnome/Shell/Screenshot --method org.gnome.Shell.Screenshot.Screenshot \
    false false "$work/shot.png" >/dev/null && convert "$work/shot.png" -depth 8 "$1"
}
pointer() { in_session python3 "$here/gnome_pointer.py" "$@"; }
end_session() {
  kill "$(shell_pid)" 2>/dev/null
  wait "$session_pid" 2>/dev/null
  session_pid=
}

in_session QT_QPA_PLATFORM=wayland QT_WAYLAND_DISABLE_WINDOWDECORATION=1 \
  "$work/pelmo-e2e-backdrop" "$clicks" "$backdrop_colour" "&"
sleep 2
echo "e2e-gnome: $(gnome-shell --version), XWayland display $display"
check_walking
check_handling
check_session_end
((failures == 0)) && echo "e2e-gnome: all checks passed; screenshots in $artifacts" ||
  echo "e2e-gnome: $failures checks failed; screenshots in $artifacts" >&2
exit $((failures > 0))
