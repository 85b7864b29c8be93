#!/usr/bin/env bash
# What the mascot costs under an X compositing manager, beside the same walk on
# the bare X server: on one private X server (Xvfb), Pelmo walks with seed 964
# for SECONDS without a manager (shaped windows), then for SECONDS under picom
# (32-bit windows the manager composites), in rounds that alternate the two so
# the shared machine's changing load falls on both alike. The CPU time of Pelmo,
# of the X server and of picom is read from /proc, with Pelmo's resident memory.
#
#   bench/measure-compositing.sh BUILD_DIR [SECONDS [ROUNDS]]   (default 60 seconds, 3 rounds)
#
# A composited frame should cost what the sprite costs, not what the screen
# costs: the manager repaints only the sprite's damaged rectangle.
set -uo pipefail

build=$(cd "${1:?usage: measure-compositing.sh BUILD_DIR [SECONDS [ROUNDS]]}" && pwd)
duration=${2:-60}
rounds=${3:-3}
slice=$((duration / rounds))
pelmo=$build/app/pelmo
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../scripts/lib/xvfb.sh"
require_tools measure-compositing "scripts/install-deps installs them" Xvfb picom xwininfo

private_session pelmo-compositing
start_xvfb "$work" || exit 1
pids+=($XVFB_PID)
export DBUS_SESSION_BUS_ADDRESS=disabled: HOME=$work

# Nanosecond counts, summed over threads.
cpu() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ns += $1} END {printf "%.3f", ns / 1e9}'; }
depth() { xwininfo -name Form1 2>/dev/null | awk '/Depth:/ {print $2}'; }

PELMO_SEED=964 "$pelmo" >/dev/null 2>&1 &
pelmo_pid=$!
pids+=($pelmo_pid)
for _ in $(seq 100); do [ -n "$(depth)" ] && break; sleep 0.1; done

declare -A own=([bare]=0 [composited]=0) server=([bare]=0 [composited]=0)
manager=0
for round in $(seq "$rounds"); do
  for mode in bare composited; do
    picom_pid=
    if [ "$mode" = composited ]; then
      picom --backend xrender --no-fading-openclose >/dev/null 2>&1 &
      picom_pid=$!
      for _ in $(seq 50); do [ "$(depth)" = 32 ] && break; sleep 0.1; done
    fi
    sleep 1 # the switch itself is not measured
    p0=$(cpu "$pelmo_pid") x0=$(cpu "$XVFB_PID") m0=$([ -n "$picom_pid" ] && cpu "$picom_pid" || echo 0)
    sleep "$slice"
    p1=$(cpu "$pelmo_pid") x1=$(cpu "$XVFB_PID") m1=$([ -n "$picom_pid" ] && cpu "$picom_pid" || echo 0)
    own[$mode]=$(echo "${own[$mode]} $p0 $p1" | awk '{print $1 + $3 - $2}')
    server[$mode]=$(echo "${server[$mode]} $x0 $x1" | awk '{print $1 + $3 - $2}')
    if [ -n "$picom_pid" ]; then
      manager=$(echo "$manager $m0 $m1" | awk '{print $1 + $3 - $2}')
      echo "round $round: depth $(depth) under picom" >&2
      kill "$picom_pid"
      wait "$picom_pid" 2>/dev/null
      for _ in $(seq 50); do [ "$(depth)" = 24 ] && break; sleep 0.1; done
    fi
  done
done
rss=$(awk '/VmHWM/ {printf "%.1f", $2 / 1024}' "/proc/$pelmo_pid/status")
total=$((slice * rounds))
printf '%-12s %10s %10s %10s %10s\n' "walking ${total}s" "Pelmo" "X server" "picom" "total"
printf '%-12s %9.3fs %9.3fs %10s %9.3fs\n' bare "${own[bare]}" "${server[bare]}" - \
  "$(echo "${own[bare]} ${server[bare]}" | awk '{print $1 + $2}')"
printf '%-12s %9.3fs %9.3fs %9.3fs %9.3fs\n' composited "${own[composited]}" \
  "${server[composited]}" "$manager" \
  "$(echo "${own[composited]} ${server[composited]} $manager" | awk '{print $1 + $2 + $3}')"
echo "Pelmo's peak RSS over both: $rss MB"
