#!/usr/bin/env bash
# How soon the mascot is on the screen: the time from starting Pelmo to its
# sprite window's map, beside oneko's first window, both on one private X
# server (Xvfb), in turns, so that the shared machine's load falls on both alike.
#
#   bench/measure-startup.sh BUILD_DIR [RUNS]   (default 7 runs of each)
#
# Prints each run's figures and the median of each program. Target: Pelmo's
# median <= 150 ms.
set -uo pipefail
export PATH=$PATH:/usr/games # where Debian puts oneko

build=$(cd "${1:?usage: measure-startup.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-7}
here=$(cd "$(dirname "$0")" && pwd)
pelmo=$build/app/pelmo
source "$here/../scripts/lib/xvfb.sh"
require_tools measure-startup "Debian: xvfb oneko python3" Xvfb oneko python3
[ -x "$pelmo" ] || {
  echo "measure-startup: no program at $pelmo; build the target pelmo first" >&2
  exit 2
}

work=$(mktemp -d /tmp/pelmo-startup.XXXXXX)
mkdir -p "$work/home" "$work/run" && chmod 700 "$work/run"
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
start_xvfb "$work" || {
  echo "measure-startup: Xvfb did not start" >&2
  exit 2
}
xvfb=$XVFB_PID
export HOME=$work/home XDG_RUNTIME_DIR=$work/run DBUS_SESSION_BUS_ADDRESS=disabled:
export PELMO_SEED=964 # the program's test hook: the same first frame every run

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }
: >"$work/pelmo" && : >"$work/oneko"
for ((i = 1; i <= runs; i++)); do
  p=$(python3 "$here/first-window.py" Form1 "$pelmo") || exit 1
  o=$(python3 "$here/first-window.py" "" oneko) || exit 1
  echo "run $i: pelmo $p ms, oneko $o ms"
  echo "$p" >>"$work/pelmo"
  echo "$o" >>"$work/oneko"
done
p=$(median <"$work/pelmo")
o=$(median <"$work/oneko")
echo "measure-startup: median of $runs runs, start to first mapped window: pelmo $p ms, oneko $o ms"
awk -v p="$p" 'BEGIN {printf "measure-startup: target 150 ms: %s\n", (p <= 150 ? "met" : "missed")}'
