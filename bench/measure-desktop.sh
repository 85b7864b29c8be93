#!/usr/bin/env bash
# What the mascot costs on a desktop, next to oneko (a cat that chases the
# pointer, the classic of the kind): both run on one private X server (Xvfb)
# while a scripted pointer circles the screen, and the CPU time of each program
# and of the X server is read from /proc, with each program's resident memory.
#
#   bench/measure-desktop.sh BUILD_DIR [SECONDS [ROUNDS [RUNS]]]
#                                   (default 60 seconds, 6 rounds, 3 runs)
#
# Pelmo is measured in two modes, each against oneko in the same run: walking
# on its own (seed 964), and held, dragged with the button down round the same
# circle that oneko chases. Each mode is run RUNS times, the modes taking turns
# so that the machine's changing load falls on both alike; the medians of the
# runs are reported at the end.
#
# The run is cut into rounds of SECONDS/ROUNDS each. In a round the pointer
# circles first with both programs running side by side, which gives each
# program's own CPU time; the X server's time is shared, so it is apportioned
# by circling again with both programs stopped (SIGSTOP), with only oneko
# running and with only Pelmo running: a program's X share is the server's time
# beyond the pointer-only circling. Rounds, rather than one long run of each,
# spread the shared machine's changing load over all four alike, and the
# mascot's walk over the side-by-side and the solo parts alike.
# Targets: Pelmo's own plus X share at most half of oneko's walking and three
# quarters of it held; RSS <= 25 MB.
set -uo pipefail
export PATH=$PATH:/usr/games # where Debian puts oneko

build=$(cd "${1:?usage: measure-desktop.sh BUILD_DIR [SECONDS]}" && pwd)
duration=${2:-60}
rounds=${3:-6}
runs=${4:-3}
slice=$((duration / rounds))
((slice >= 1)) || {
  echo "measure-desktop: $duration seconds cannot make $rounds rounds" >&2
  exit 2
}
solo=$((slice * rounds))
pelmo=$build/app/pelmo
source "$(dirname "$0")/../scripts/lib/xvfb.sh"
probe=(python3 "$(dirname "$0")/../tests/e2e/qt/xprobe.py")
require_tools measure-desktop "Debian: xvfb oneko xdotool python3" \
  Xvfb oneko xdotool python3
[ -x "$pelmo" ] || {
  echo "measure-desktop: no program at $pelmo; build the target pelmo first" >&2
  exit 2
}

private_session pelmo-measure

# CPU seconds a process's threads have run so far, from the scheduler's
# nanosecond counts: the clock-tick counts of /proc/PID/stat are 10 ms coarse,
# as large as a whole minute of either program's work here.
cpu() { cat /proc/"$1"/task/*/schedstat | awk '{ns += $1} END {printf "%.3f", ns / 1e9}'; }
rss_mb() { awk '/VmRSS/ {printf "%.1f", $2 / 1024}' "/proc/$1/status"; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", a - b}'; }
percent() { awk -v s="$1" -v d="$2" 'BEGIN {printf "%.3f%%", 100 * s / d}'; }

start_xvfb "$work" || {
  echo "measure-desktop: Xvfb did not start" >&2
  exit 2
}
xvfb=$XVFB_PID
pids+=($xvfb)

# The pointer circles the middle of the screen once every 10 s, moving every 50 ms,
# for the given number of seconds; one xdotool process runs the whole path.
circle() {
  awk -v n=$(($1 * 20)) 'BEGIN {
    for (i = 0; i < n; i++) {
      a = 2 * 3.14159265 * i / 200
      printf "mousemove %d %d sleep 0.05 ", 640 + 300 * cos(a), 400 + 250 * sin(a)
    }
  }' | xargs xdotool
}

start_oneko() {
  oneko >/dev/null 2>&1 &
  oneko_pid=$!
  pids+=($oneko_pid)
}
start_pelmo() {
  # Seed 964 walks about 70 % of its first two minutes, standing the rest, and
  # neither sleeps nor meets the weather (PELMO_SEED is the program's test hook).
  PELMO_SEED=964 "$pelmo" >/dev/null 2>&1 &
  pelmo_pid=$!
  pids+=($pelmo_pid)
}

# X server seconds used while the pointer circles for $1 seconds.
x_during() {
  local before
  before=$(cpu "$xvfb")
  circle "$1"
  minus "$(cpu "$xvfb")" "$before"
}

echo "measure-desktop: display $DISPLAY; $runs runs of each mode, each of $rounds rounds of ${slice} s side by side, then ${slice} s each alone"
plus() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", a + b}'; }
stop() { kill "$1" 2>/dev/null && wait "$1" 2>/dev/null; }

form1() { xdotool search --onlyvisible --name '^Form1$' 2>/dev/null | head -1; }
# A point of the mascot that two looks a tick apart share, with room round it,
# so that a press there takes hold whichever of two frames is up.
mascot_pixel() {
  local id
  id=$(form1)
  [ -n "$id" ] || return 1
  "${probe[@]}" grip "$id"
}
# While held, the strawberry is the pointer.
held() {
  local w h xh yh red
  read -r w h xh yh red < <("${probe[@]}" cursor) && ((xh == 0 && yh == 0 && red > 50))
}
# Takes the mascot up and carries it to where the circle starts. A walking
# mascot may have moved on between the look and the press: then again.
pick_up() {
  local px py attempt
  for attempt in 1 2 3 4 5 6 7 8 9 10; do
    read -r px py < <(mascot_pixel) || continue
    xdotool mousemove --sync "$px" "$py" mousedown 1
    sleep 0.3
    if held; then
      xdotool mousemove 940 400
      sleep 1 # the mascot catches up with the pointer before the measurement
      return 0
    fi
    xdotool mouseup 1
    sleep 0.3
  done
  return 1
}

# One run of a mode: prints the table and sets pelmo_total, oneko_total.
measure() {
  local mode=$1 round
  start_oneko
  start_pelmo
  sleep 2 # Qt's start-up is not part of the walk
  if [ "$mode" = held ] && ! pick_up; then
    echo "measure-desktop: the mascot could not be taken up" >&2
    exit 2
  fi
  oneko_cpu=0 pelmo_cpu=0 x_both=0 x_pointer=0 x_oneko=0 x_pelmo=0
  for ((round = 0; round < rounds; round++)); do
    oneko_before=$(cpu "$oneko_pid")
    pelmo_before=$(cpu "$pelmo_pid")
    x_both=$(plus "$x_both" "$(x_during "$slice")")
    oneko_cpu=$(plus "$oneko_cpu" "$(minus "$(cpu "$oneko_pid")" "$oneko_before")")
    pelmo_cpu=$(plus "$pelmo_cpu" "$(minus "$(cpu "$pelmo_pid")" "$pelmo_before")")
    kill -STOP "$oneko_pid" "$pelmo_pid"
    x_pointer=$(plus "$x_pointer" "$(x_during "$slice")")
    kill -CONT "$oneko_pid"
    x_oneko=$(plus "$x_oneko" "$(x_during "$slice")")
    kill -STOP "$oneko_pid"
    kill -CONT "$pelmo_pid"
    x_pelmo=$(plus "$x_pelmo" "$(x_during "$slice")")
    kill -CONT "$oneko_pid"
  done
  [ "$mode" = held ] && xdotool mouseup 1
  x_oneko=$(minus "$x_oneko" "$x_pointer")
  x_pelmo=$(minus "$x_pelmo" "$x_pointer")
  oneko_rss=$(rss_mb "$oneko_pid")
  pelmo_rss=$(rss_mb "$pelmo_pid")
  pelmo_peak=$(awk '/VmHWM/ {printf "%.1f", $2 / 1024}' "/proc/$pelmo_pid/status")
  stop "$pelmo_pid"
  stop "$oneko_pid"

  # Everything over the measured time, scaled to the asked-for duration.
  oneko_cpu=$(scale "$oneko_cpu")
  pelmo_cpu=$(scale "$pelmo_cpu")
  x_oneko_share=$(scale "$x_oneko")
  x_pelmo_share=$(scale "$x_pelmo")
  oneko_total=$(awk -v a="$oneko_cpu" -v b="$x_oneko_share" 'BEGIN {printf "%.3f", a + b}')
  pelmo_total=$(awk -v a="$pelmo_cpu" -v b="$x_pelmo_share" 'BEGIN {printf "%.3f", a + b}')

  printf '\n%-7s %12s %14s %14s %9s   (%s)\n' "" "own CPU s" "X share s" "total" "RSS MB" \
    "Pelmo $mode"
  printf '%-7s %12s %14s %14s %9s\n' oneko "$oneko_cpu" "$x_oneko_share" \
    "$oneko_total ($(percent "$oneko_total" "$duration"))" "$oneko_rss"
  printf '%-7s %12s %14s %14s %9s\n' Pelmo "$pelmo_cpu" "$x_pelmo_share" \
    "$pelmo_total ($(percent "$pelmo_total" "$duration"))" "$pelmo_rss"
  echo "X server, side by side: $(scale "$x_both") s in $duration s (the pointer alone: $(scale "$x_pointer") s)"
  echo "Pelmo's peak RSS: $pelmo_peak MB"
  echo "per tick: oneko $(per_tick "$oneko_total" 125), Pelmo $(per_tick "$pelmo_total" 100)"
  peak=$(awk -v a="$peak" -v b="$pelmo_peak" 'BEGIN {print (b > a ? b : a)}')
}
scale() { awk -v s="$1" -v a="$solo" -v d="$duration" 'BEGIN {printf "%.3f", s * d / a}'; }
# Pelmo's timer ticks every 100 ms, oneko's every 125 ms (its default).
per_tick() { awk -v t="$1" -v d="$duration" -v ms="$2" 'BEGIN {printf "%.3f ms", 1000 * t / (d * 1000 / ms)}'; }
median() { tr ' ' '\n' | grep . | sort -g | awk '{v[NR] = $1} END {
  printf "%.3f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

peak=0
declare -A pelmo_runs oneko_runs ratio_runs
for ((run = 0; run < runs; run++)); do
  for mode in walking held; do
    measure "$mode"
    pelmo_runs[$mode]+="$pelmo_total "
    oneko_runs[$mode]+="$oneko_total "
    ratio_runs[$mode]+="$(awk -v p="$pelmo_total" -v o="$oneko_total" 'BEGIN {printf "%.3f", p / o}') "
  done
done

echo
echo "Medians of $runs runs (own CPU plus X share, s in $duration s):"
verdict=0
declare -A target=([walking]=0.5 [held]=0.75)
for mode in walking held; do
  pelmo_median=$(median <<<"${pelmo_runs[$mode]}")
  oneko_median=$(median <<<"${oneko_runs[$mode]}")
  ratio=$(median <<<"${ratio_runs[$mode]}")
  printf '  Pelmo %-7s %s, oneko chasing %s: %s x oneko (runs: %s)\n' "$mode" "$pelmo_median" \
    "$oneko_median" "$ratio" "${ratio_runs[$mode]% }"
  awk -v r="$ratio" -v t="${target[$mode]}" 'BEGIN {exit !(r <= t)}' &&
    echo "CPU: Pelmo $mode within ${target[$mode]} x oneko chasing" ||
    { echo "CPU: Pelmo $mode above ${target[$mode]} x oneko chasing" && verdict=1; }
done
awk -v r="$peak" 'BEGIN {exit !(r <= 25)}' && echo "RSS: within 25 MB (peak $peak MB)" ||
  { echo "RSS: above 25 MB (peak $peak MB)" && verdict=1; }
exit $verdict
