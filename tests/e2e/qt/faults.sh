#!/usr/bin/env bash
# What the Qt desktop front-end does when its desktop fails around it: the
# audio server killed, restarted or started late, the tray host restarted, the
# session's signals, a smaller screen, no active output at start, the X server
# killed, a start where it has gone; and last a soak of some minutes that fails
# on growth. The desktop is the one of run.sh: Xvfb, openbox, tint2 and a null
# PulseAudio sink whose monitor is recorded.
#
#   tests/e2e/qt/faults.sh BUILD_DIR [SOAK_MINUTES]   (default 3; 0 leaves the soak out)
#
# Only processes started here are stopped, by their ids.
set -uo pipefail

build=$(cd "${1:?usage: faults.sh BUILD_DIR [SOAK_MINUTES]}" && pwd)
soak_minutes=${2:-3}
pelmo=$build/app/pelmo
here=$(cd "$(dirname "$0")" && pwd)
probe=(python3 "$here/xprobe.py")
artifacts=$build/e2e-qt-faults
backdrop_colour=336633

source "$here/../../../scripts/lib/xvfb.sh"
require_tools e2e-qt-faults "scripts/install-deps installs the test packages" Xvfb openbox \
  tint2 pulseaudio pactl parec xdotool xwininfo xprop xrandr import python3
[ -x "$pelmo" ] || {
  echo "e2e-qt-faults: no program at $pelmo; build the target pelmo first" >&2
  exit 2
}

private_session pelmo-faults
rm -rf "$artifacts" && mkdir -p "$artifacts"

failures=0
pass() { echo "ok   - $1"; }
fail() {
  echo "FAIL - $1" >&2
  failures=$((failures + 1))
  import -window root "$artifacts/failure-$failures.png" 2>/dev/null
}
check() { # DESCRIPTION COMMAND...: passes when the command succeeds
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

# Milliseconds since the epoch, for the checks of "within N seconds".
now_ms() { date +%s%3N; }

# --- the desktop --------------------------------------------------------------
start_xvfb "$work" || {
  echo "e2e-qt-faults: Xvfb did not start" >&2
  exit 2
}
pids+=($XVFB_PID)
export HOME=$work/home XDG_RUNTIME_DIR=$work/run
export DBUS_SESSION_BUS_ADDRESS=disabled: # no desktop bus: the tray is the X11 one
export PULSE_SERVER=unix:$work/run/pulse.sock

openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'

tint2_pid=
start_tint2() {
  tint2 >>"$work/tint2.log" 2>&1 &
  tint2_pid=$!
  pids+=($tint2_pid)
  wait_for 10 "${probe[@]}" tray
}
start_tint2 || echo "e2e-qt-faults: tint2 did not take the tray" >&2

pulse_pid=
start_pulse() {
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes \
    -L "module-null-sink sink_name=e2e" \
    -L "module-native-protocol-unix socket=$work/run/pulse.sock auth-anonymous=1" \
    >>"$work/pulse.log" 2>&1 &
  pulse_pid=$!
  pids+=($pulse_pid)
  wait_for 10 pactl info
}
kill_pulse() {
  kill -KILL "$pulse_pid" 2>/dev/null
  wait "$pulse_pid" 2>/dev/null
  rm -f "$work/run/pulse.sock"
}

work_area() { xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g' | awk '{print $1, $2, $3, $4}'; }
# The desktop behind the mascot, of one colour, so that its pixels can be told apart.
"${probe[@]}" backdrop "$work/clicks.log" "$backdrop_colour" 0 0 1280 800 &
pids+=($!)
wait_for 10 grep -q ready "$work/clicks.log"

# --- the program ------------------------------------------------------------------
pelmo_pid=
start_pelmo() { # [SEED]: 70219 stands still for its first 38 s
  PELMO_SEED=${1:-70219} "$pelmo" >>"$artifacts/pelmo.log" 2>&1 &
  pelmo_pid=$!
  pids+=($pelmo_pid)
}
pelmo_ended() { ! kill -0 "$pelmo_pid" 2>/dev/null; }
stop_pelmo() {
  kill -KILL "$pelmo_pid" 2>/dev/null
  wait "$pelmo_pid" 2>/dev/null
}

window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
shown() { [ -n "$(window "$1")" ]; }
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}
# X Y W H of what a sprite window draws: the extents of its shape.
drawn() {
  xwininfo -shape -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Window shape extents:/ {split($4, e, /[x+]/); print x + e[3], y + e[4], e[1], e[2]}'
}
tray_icon() {
  local id w h
  for id in $(xdotool search --onlyvisible --classname pelmo 2>/dev/null); do
    read -r _ _ w h < <(geometry "$id")
    ((w >= 8 && w <= 32 && h >= 8 && h <= 32)) && echo "$id" && return 0
  done
  return 1
}
no_program_window() { ! xdotool search --classname pelmo >/dev/null 2>&1; }
# Where a press lands on the mascot: a point of its shape that two looks a tick
# apart share with room round it, whichever frame is up when the press comes.
mascot_pixel() {
  "${probe[@]}" grip "$(window Form1)"
}
# Seconds of clearly audible sound that a press on the mascot plays: the press
# starts a drag, whose chime plays on the null sink and is recorded off its monitor.
press_sound() {
  local raw=$work/press.raw px py rec
  rm -f "$raw"
  parec -d e2e.monitor --latency-msec=20 --format=s16le --rate=44100 --channels=2 \
    >"$raw" 2>/dev/null &
  rec=$!
  pids+=($rec)
  wait_for 5 test -s "$raw"
  read -r px py < <(mascot_pixel)
  xdotool mousemove 0 0 mousemove --sync "$px" "$py" mousedown 1
  sleep 1
  xdotool mouseup 1
  sleep 0.3
  kill "$rec" 2>/dev/null
  wait "$rec" 2>/dev/null
  "${probe[@]}" audible "$raw"
}
heard() { awk -v s="$1" 'BEGIN {exit !(s >= 0.4)}'; }

echo "e2e-qt-faults: display $DISPLAY"

# --- the audio server starts after the program --------------------------------------
start_pelmo
if wait_for 15 shown Form1; then
  sleep 1
  start_pulse || echo "e2e-qt-faults: PulseAudio did not start" >&2
  s=$(press_sound)
  heard "$s" && pass "an audio server started after the program plays the next chime (${s} s)" ||
    fail "the chime after the audio server came up late was ${s} s long"

  # --- the audio server killed, a cue without it, then back --------------------------
  kill_pulse
  # The recorder has no server either: this only makes the press.
  press_sound >/dev/null
  sleep 3 # an outage longer than any retry of a sound library's own
  check "the program lives on without its audio server" kill -0 "$pelmo_pid"
  start_pulse
  s=$(press_sound)
  heard "$s" && pass "after the audio server is killed and restarted the next press chimes (${s} s)" ||
    fail "the chime after the audio server's restart was ${s} s long"
else
  fail "no mascot window appeared"
  start_pulse
fi
stop_pelmo

# --- the tray host killed and restarted -----------------------------------------------
start_pelmo
if wait_for 15 shown Form1 && wait_for 10 tray_icon; then
  kill "$tint2_pid"
  wait "$tint2_pid" 2>/dev/null
  wait_for 5 sh -c "! $(printf '%q ' "${probe[@]}") tray"
  start_tint2
  check "the tray icon comes back when the tray host restarts" wait_for 10 tray_icon
else
  fail "no mascot and tray icon to start with"
fi
stop_pelmo

# --- the session's signals --------------------------------------------------------------
# SIGHUP comes while the mascot's menu is open: the menu's own loop must end too.
for signal in TERM INT HUP; do
  start_pelmo
  if ! wait_for 15 shown Form1 || ! wait_for 10 tray_icon; then
    fail "SIG$signal: no mascot and tray icon to start with"
    stop_pelmo
    continue
  fi
  if [ "$signal" = HUP ]; then
    read -r px py < <(mascot_pixel)
    xdotool mousemove --sync "$px" "$py" click 3
    sleep 0.5
  fi
  started=$(now_ms)
  kill -s "$signal" "$pelmo_pid"
  wait_for 1 pelmo_ended
  wait "$pelmo_pid"
  status=$? took=$(($(now_ms) - started))
  ((status == 0 && took <= 1000)) &&
    pass "SIG$signal ends the program with 0 in ${took} ms" ||
    fail "SIG$signal: status $status after ${took} ms"
  check "SIG$signal leaves no window and no tray icon" wait_for 1 no_program_window
done

# --- started with no active output --------------------------------------------------------
xrandr --output screen --off 2>/dev/null
start_pelmo
sleep 2
if ! pelmo_ended; then
  xrandr --output screen --mode 1280x800 --fb 1280x800
  wait_for 10 sh -c '! xprop -root _NET_WORKAREA | grep -q "= 0, 0, 1280, 800,"'
  mascot_on_screen() {
    local id x y w h
    id=$(window Form1) && [ -n "$id" ] || return 1
    read -r x y w h < <(drawn "$id")
    ((w > 0 && x >= 0 && y >= 0 && x + w <= 1280 && y + h <= 800))
  }
  check "started with no active output, the mascot appears when an output comes on" \
    wait_for 15 mascot_on_screen
else
  fail "the program ended when started with no active output"
fi
xrandr --output screen --mode 1280x800 --fb 1280x800 2>/dev/null
stop_pelmo

# --- the screen shrinks with the mascot outside the new work area -------------------------
xrandr --newmode 800x600 60 800 800 800 800 600 600 600 600 2>/dev/null
xrandr --addmode screen 800x600 2>/dev/null
start_pelmo 964
if wait_for 15 shown Form1; then
  # Carried to the bottom right, where the smaller screen will not reach: held
  # there until the mascot, which trails the pointer, is all outside 800x600.
  read -r px py < <(mascot_pixel)
  xdotool mousemove 0 0 mousemove --sync "$px" "$py" mousedown 1
  for step in 1 2 3 4 5; do
    xdotool mousemove $((px + (1150 - px) * step / 5)) $((py + (660 - py) * step / 5))
    sleep 0.2
  done
  outside_small() {
    local x y
    read -r x y _ _ < <(drawn "$(window Form1)")
    ((x >= 800 || y >= 600))
  }
  wait_for 20 outside_small
  xdotool mouseup 1
  xdotool mousemove 10 10
  read -r x y w h < <(drawn "$(window Form1)")
  check "the mascot is left outside the smaller screen to be, at $x,$y (${w}x$h)" outside_small
  xrandr --output screen --mode 800x600 --fb 800x600
  wait_for 10 sh -c 'xprop -root _NET_WORKAREA | grep -q "= 0, 0, 800,"'
  read -r al at aw ah < <(work_area)
  inside() {
    local x y w h
    read -r x y w h < <(drawn "$(window Form1)")
    ((x >= al && y >= at && x + w <= al + aw && y + h <= at + ah))
  }
  started=$SECONDS
  if wait_for 60 inside; then
    pass "after the screen shrinks the mascot is back inside the work area in $((SECONDS - started)) s"
  else
    fail "the mascot is drawn at $(drawn "$(window Form1)"), outside $al,$at ${aw}x$ah, after 60 s"
  fi
  read -r x y w h < <(geometry "$(window Form1)")
  echo "e2e-qt-faults: the mascot's window is at $x,$y ${w}x$h on the smaller screen"
else
  fail "no mascot window appeared"
fi
xrandr --output screen --mode 1280x800 --fb 1280x800 2>/dev/null
stop_pelmo

# --- the X server killed ----------------------------------------------------------------------
start_pelmo
if wait_for 15 shown Form1; then
  children=$(pgrep -P "$pelmo_pid" | tr '\n' ' ')
  kill -KILL "$XVFB_PID"
  started=$(now_ms)
  wait_for 2 pelmo_ended
  took=$(($(now_ms) - started))
  pelmo_ended && ((took <= 2000)) && pass "the program ends ${took} ms after the X server is killed" ||
    fail "the program still runs $took ms after the X server was killed"
  stop_pelmo
  left=$(for pid in $children; do kill -0 "$pid" 2>/dev/null && echo "$pid"; done)
  [ -z "$left" ] && pass "no process of the program is left (children before: ${children:-none})" ||
    fail "processes left behind: $left"
  tail -2 "$artifacts/pelmo.log"
  # Started on the display of the server just killed, as a start racing the
  # session's end would be: Qt left to find out aborts and advises reinstalling.
  message=$(timeout 10 "$pelmo" 2>&1 >/dev/null)
  status=$?
  ((status == 1)) && [[ $message == "pelmo: cannot open the X display $DISPLAY ("* ]] &&
    pass "started where no X server answers, it says so and exits 1 ($message)" ||
    fail "started where no X server answers: status $status, \"$message\""
else
  fail "no mascot window appeared"
fi

# --- the soak ------------------------------------------------------------------------------
if ((soak_minutes > 0)); then
  "$here/../../../bench/soak-desktop.sh" "$build" "$soak_minutes" &&
    pass "the ${soak_minutes}-minute soak shows no growth after its first minute" ||
    fail "the ${soak_minutes}-minute soak grew (see above)"
fi

if ((failures > 0)); then
  echo "e2e-qt-faults: $failures check(s) failed; screenshots in $artifacts" >&2
  exit 1
fi
echo "e2e-qt-faults: all checks passed"
