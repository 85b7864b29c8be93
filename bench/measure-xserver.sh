#!/usr/bin/env bash
# What a tick of the walking or the held mascot costs the X server, in
# instructions counted by valgrind's callgrind, which the shared machine's load
# cannot blur as it does CPU seconds: the X server (Xvfb) runs under callgrind
# throughout, and so does Pelmo, whose engine ticks are counted in the same span.
#
#   bench/measure-xserver.sh BUILD_DIR [SECONDS [DISPLAY]]
#                      (default 30 seconds; DISPLAY a number, else the first free)
#
# Four spans of SECONDS each, every count taken from zero at a span's start:
# the pointer circling alone (as in measure-desktop.sh), oneko chasing it,
# Pelmo walking on its own (seed 964, the pointer left still), and Pelmo held,
# dragged round the same circle. oneko's and the held mascot's shares are the
# server's count beyond the pointer's; oneko ticks every 125 ms, Pelmo every
# 100 ms. Prints the server's instructions per tick of each program, and
# Pelmo's own. Needs valgrind; a run takes about a minute beyond 4 x SECONDS.
# KEEP=DIR keeps the dumps there, for callgrind_annotate.
set -uo pipefail
export PATH=$PATH:/usr/games # where Debian puts oneko

build=$(cd "${1:?usage: measure-xserver.sh BUILD_DIR [SECONDS [DISPLAY]]}" && pwd)
seconds=${2:-30}
number=${3:-}
pelmo=$build/app/pelmo
source "$(dirname "$0")/../scripts/lib/xvfb.sh"
require_tools measure-xserver "Debian: valgrind xvfb oneko xdotool" \
  valgrind callgrind_control Xvfb oneko xdotool
[ -x "$pelmo" ] || {
  echo "measure-xserver: no program at $pelmo; build the target pelmo first" >&2
  exit 2
}

work=$(mktemp -d /tmp/pelmo-xserver.XXXXXX)
mkdir -p "$work/home" "$work/run" && chmod 700 "$work/run"
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  wait 2>/dev/null
  [ -n "${KEEP:-}" ] && cp -r "$work" "$KEEP"
  rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work/home XDG_RUNTIME_DIR=$work/run DBUS_SESSION_BUS_ADDRESS=disabled:

# Names written out in full, so that a function's calls can be found by name.
callgrind=(valgrind --tool=callgrind --compress-strings=no --compress-pos=no)
server_args=(-screen 0 1280x800x24 -nolisten tcp -noreset)
if [ -n "$number" ]; then
  # Another server there would answer in place of ours.
  [ -e "/tmp/.X$number-lock" ] && {
    echo "measure-xserver: display :$number is taken" >&2
    exit 2
  }
  "${callgrind[@]}" --callgrind-out-file="$work/xvfb.out" Xvfb ":$number" "${server_args[@]}" \
    >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  export DISPLAY=:$number
else
  exec {fd}>"$work/display"
  "${callgrind[@]}" --callgrind-out-file="$work/xvfb.out" Xvfb -displayfd "$fd" \
    "${server_args[@]}" >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  exec {fd}>&-
fi
pids+=("$xvfb")
for _ in $(seq 300); do
  if [ -z "$number" ] && [ -s "$work/display" ]; then
    DISPLAY=:$(tr -d '\n' <"$work/display")
    export DISPLAY
  fi
  [ -n "${DISPLAY:-}" ] && xdotool getmouselocation >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool getmouselocation >/dev/null 2>&1 || {
  echo "measure-xserver: Xvfb did not start under valgrind" >&2
  exit 2
}

# The instructions a process under callgrind has run since its count was last
# zeroed, from its dump number $3 (callgrind numbers them NAME.out.1, .2, ...);
# the dump zeroes the count again.
instructions() {
  local dump=$work/$2.out.$3
  callgrind_control -d "$1" >/dev/null 2>&1
  for _ in $(seq 100); do
    grep -qs '^totals:' "$dump" && break
    sleep 0.1
  done
  awk '/^(summary|totals):/ {print $2; exit}' "$dump"
}
# Calls of the functions whose names hold $2 in the dump $1.
calls() {
  awk -v name="$2" '/^cfn=/ {inside = index($0, name) > 0}
    /^calls=/ && inside {split($1, c, "="); n += c[2]} END {print n + 0}' "$work/$1"
}
zero() { callgrind_control -z "$1" >/dev/null 2>&1; }
circle() {
  awk -v n=$(($1 * 20)) 'BEGIN {
    for (i = 0; i < n; i++) {
      a = 2 * 3.14159265 * i / 200
      printf "mousemove %d %d sleep 0.05 ", 640 + 300 * cos(a), 400 + 250 * sin(a)
    }
  }' | xargs xdotool
}
per() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.0f", (b > 0 ? a / b : 0)}'; }

echo "measure-xserver: display $DISPLAY, four spans of $seconds s under callgrind"
xdotool mousemove 640 150
zero "$xvfb"
circle "$seconds"
x_pointer=$(instructions "$xvfb" xvfb 1)

oneko >/dev/null 2>&1 &
oneko_pid=$!
pids+=("$oneko_pid")
sleep 2
zero "$xvfb"
circle "$seconds"
x_oneko=$(instructions "$xvfb" xvfb 2)
kill "$oneko_pid" && wait "$oneko_pid" 2>/dev/null

xdotool mousemove 1270 790 # out of the mascot's way
PELMO_SEED=964 "${callgrind[@]}" --callgrind-out-file="$work/pelmo.out" "$pelmo" \
  >"$work/pelmo.log" 2>&1 &
pelmo_pid=$!
pids+=("$pelmo_pid")
for _ in $(seq 1200); do
  xdotool search --onlyvisible --name '^Form1$' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 2 # the first frames are uploaded; the walk is under way
zero "$xvfb" && zero "$pelmo_pid"
sleep "$seconds"
x_pelmo=$(instructions "$xvfb" xvfb 3)
pelmo_own=$(instructions "$pelmo_pid" pelmo 1)
ticks=$(calls pelmo.out.1 'Forms::OnTimer(')

# Held: taken near its middle and dragged round the circle, the button down.
read -r gx gy < <(python3 "$(dirname "$0")/../tests/e2e/qt/xprobe.py" grip \
  "$(xdotool search --onlyvisible --name '^Form1$' | head -1)") || {
  echo "measure-xserver: no point of the mascot to take hold of" >&2
  exit 1
}
xdotool mousemove --sync "$gx" "$gy" mousedown 1 sleep 1 mousemove 940 400 sleep 2
zero "$xvfb" && zero "$pelmo_pid"
circle "$seconds"
x_held=$(instructions "$xvfb" xvfb 4)
held_own=$(instructions "$pelmo_pid" pelmo 2)
held_ticks=$(calls pelmo.out.2 'Forms::OnTimer(')
xdotool mouseup 1

oneko_ticks=$((seconds * 8))
x_oneko_share=$(awk -v a="$x_oneko" -v b="$x_pointer" 'BEGIN {printf "%.0f", a - b}')
echo "X server, the pointer alone: $x_pointer instructions in $seconds s"
echo "X server for oneko chasing: $x_oneko_share beyond the pointer's in $oneko_ticks ticks:" \
  "$(per "$x_oneko_share" "$oneko_ticks") per tick"
echo "X server for Pelmo walking: $x_pelmo in $ticks ticks: $(per "$x_pelmo" "$ticks") per tick"
echo "Pelmo's own: $pelmo_own in $ticks ticks: $(per "$pelmo_own" "$ticks") per tick"
x_held_share=$(awk -v a="$x_held" -v b="$x_pointer" 'BEGIN {printf "%.0f", a - b}')
echo "X server for Pelmo held: $x_held_share beyond the pointer's in $held_ticks ticks:" \
  "$(per "$x_held_share" "$held_ticks") per tick"
echo "Pelmo's own, held: $held_own in $held_ticks ticks: $(per "$held_own" "$held_ticks") per tick"
