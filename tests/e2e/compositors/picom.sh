#!/usr/bin/env bash
# The Linux program under an X compositing manager: picom on Xvfb with openbox.
# The windows are composited from their own pixels, so the mascot must show no
# black round it; once the manager stops, the program must go back to the
# bare X server's shaped windows, and come back when it starts again.
#
#   tests/e2e/compositors/picom.sh BUILD_DIR
#
# Screenshots are kept in BUILD_DIR/e2e-picom.
set -uo pipefail

build=$(cd "${1:?usage: picom.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
suite=picom
artifacts=$build/e2e-picom
backdrop_colour=336633
source "$here/../../../scripts/lib/xvfb.sh"
require_tools e2e-picom "scripts/install-deps installs the test packages" Xvfb openbox picom \
  xdotool xwininfo import convert python3
pelmo=$build/app/pelmo
[ -x "$pelmo" ] || {
  echo "e2e-picom: no program at $pelmo; build the target pelmo first" >&2
  exit 2
}
source "$here/lib.sh"

rm -rf "$artifacts" && mkdir -p "$artifacts"
private_session pelmo-picom
session_mark=$(basename "$work")
clicks=$work/clicks.log

start_xvfb "$work" || {
  echo "e2e-picom: Xvfb did not start" >&2
  exit 2
}
pids+=($XVFB_PID)
export HOME=$work/home XDG_RUNTIME_DIR=$work/run
export DBUS_SESSION_BUS_ADDRESS=disabled:

in_session() {
  local command="$*"
  if [ "${command: -1}" = "&" ]; then
    PELMO_E2E_SESSION=$session_mark bash -c "${command%&}" &
  else
    PELMO_E2E_SESSION=$session_mark "$@"
  fi
}
screenshot() { import -window root -depth 8 "$1" 2>/dev/null; }
# The steps of tests/e2e/compositors/vnc_pointer.py, played with xdotool.
pointer() {
  local step name arg
  for step in "$@"; do
    name=${step%%:*} arg=${step#*:}
    [ "$arg" = "$step" ] && arg=
    case $name in
      move) xdotool mousemove --sync "${arg%,*}" "${arg#*,}" ;;
      down) xdotool mousedown "${arg:-1}" ;;
      up) xdotool mouseup "${arg:-1}" ;;
      click) xdotool click "${arg:-1}" ;;
      double) xdotool click --repeat 2 --delay 80 1 ;;
      wait) sleep "$arg" ;;
    esac
    sleep 0.05
  done
}
end_session() { kill "$XVFB_PID"; }

openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
python3 "$here/../qt/xprobe.py" backdrop "$clicks" "$backdrop_colour" 0 0 1280 800 &
pids+=($!)
wait_for 10 grep -q ready "$clicks"

picom_pid=
start_picom() {
  picom --backend xrender --no-fading-openclose --shadow-opacity 0 >"$work/picom.log" 2>&1 &
  picom_pid=$!
  pids+=($picom_pid)
  wait_for 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null && python3 - <<PY
import ctypes, ctypes.util, sys
x = ctypes.CDLL(ctypes.util.find_library("X11"))
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
d = x.XOpenDisplay(None)
sys.exit(0 if x.XGetSelectionOwner(d, x.XInternAtom(d, b"_NET_WM_CM_S0", 0)) else 1)
PY'
}
depth() { xwininfo -name Form1 2>/dev/null | awk '/Depth:/ {print $2}'; }
depth_is() { [ "$(depth)" = "$1" ]; }

# --- switching: the windows follow a manager that starts and stops -----------
start_picom || echo "e2e-picom: picom took no _NET_WM_CM_S0 selection" >&2
start_pelmo 70219
if wait_for 20 shown Form1; then
  [ "$(depth)" = 32 ] && pass "under a compositing manager the mascot has a 32-bit window" ||
    fail "under picom the mascot's window has depth $(depth), not 32"
  kill "$picom_pid"
  wait_for 5 depth_is 24 && wait_for 5 shown Form1 &&
    pass "once the manager stops, the mascot goes back to a shaped 24-bit window" ||
    fail "after picom stopped the mascot's window has depth $(depth)"
  sleep 0.5
  seen=$(look bare)
  only_the_mascot "$seen" && pass "and it is drawn as before, with nothing round it" ||
    fail "after picom stopped: $(echo "$seen" | tr '\n' ';')"
  start_picom
  wait_for 5 depth_is 32 && wait_for 5 shown Form1 &&
    pass "a manager that starts again gets the 32-bit window again" ||
    fail "after picom started again the mascot's window has depth $(depth)"
else
  fail "no mascot window appeared"
fi
session_processes | awk '$2 == "pelmo" {print $1}' | xargs -r kill
wait_for 5 pelmo_gone

run_checks
((failures == 0)) && echo "e2e-picom: all checks passed; screenshots in $artifacts" ||
  echo "e2e-picom: $failures checks failed; screenshots in $artifacts" >&2
exit $((failures > 0))
