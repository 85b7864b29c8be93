#!/usr/bin/env bash
# Whether the desktop program's footprint stays flat over a long run: Pelmo on a
# private desktop (Xvfb, openbox, tint2, a null PulseAudio sink) while a script
# plays the user, round after round: every meal from the menu (the second serving
# while food lies about answers with a message box), a hide to the tray and a
# show, and a drag; between rounds the mascot walks and idles (seed 964), and
# over a long run meets the rain and the sun (whose end, the mascot's departure,
# is called off as a user would, by picking the mascot up). Every 30 s it samples the
# program's resident memory, its open descriptors and what the X server holds for
# it (xrestop), and at the end prints the samples and the slope of each after
# the first minute. RSS is read every second: each sample has the lowest and the
# highest reading since the one before.
#
#   bench/soak-desktop.sh BUILD_DIR MINUTES [SAMPLES_FILE]
#
# Fails (status 1) when the program's own memory, its descriptors or X pixmap
# bytes grow after the first minute by more than the noise of a sample (1 MB of
# anonymous memory, 2 descriptors; X pixmaps up to the frame cache's bound,
# 16 MB, are not growth). Own memory is the anonymous part of RSS, where a leak
# shows: the rest are copies of library and font pages, which the program lets
# go after a menu or box and which come back as far as the walk reads them, so
# their floor wanders by a megabyte without anything leaking; it is reported.
# The largest RSS reading is reported against the 30 MB target.
set -uo pipefail

build=$(cd "${1:?usage: soak-desktop.sh BUILD_DIR MINUTES [SAMPLES_FILE]}" && pwd)
minutes=${2:?usage: soak-desktop.sh BUILD_DIR MINUTES [SAMPLES_FILE]}
samples_file=${3:-}
pelmo=$build/app/pelmo
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../scripts/lib/xvfb.sh"
require_tools soak-desktop "scripts/install-deps installs the test packages" Xvfb openbox tint2 \
  pulseaudio pactl xdotool xwininfo xprop xrestop python3
[ -x "$pelmo" ] || {
  echo "soak-desktop: no program at $pelmo; build the target pelmo first" >&2
  exit 2
}
rss_limit_kb=$((30 * 1024))

private_session pelmo-soak

start_xvfb "$work" || {
  echo "soak-desktop: Xvfb did not start" >&2
  exit 2
}
pids+=($XVFB_PID)
export HOME=$work/home XDG_RUNTIME_DIR=$work/run
export DBUS_SESSION_BUS_ADDRESS=disabled:
export PULSE_SERVER=unix:$work/run/pulse.sock
openbox >/dev/null 2>&1 &
pids+=($!)
wait_for 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
tint2 >/dev/null 2>&1 &
pids+=($!)
wait_for 10 python3 "$here/../tests/e2e/qt/xprobe.py" tray # or the icon has no tray to go to
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes \
  -L "module-null-sink sink_name=soak" \
  -L "module-native-protocol-unix socket=$work/run/pulse.sock auth-anonymous=1" \
  >/dev/null 2>&1 &
pids+=($!)
wait_for 10 pactl info

# PELMO_SEED is the program's test hook: the same walks on every run.
PELMO_SEED=964 "$pelmo" >"$work/pelmo.log" 2>&1 &
pelmo_pid=$!
pids+=($pelmo_pid)
wait_for 15 sh -c 'xdotool search --onlyvisible --name "^Form1\$"' || {
  echo "soak-desktop: no mascot appeared" >&2
  exit 2
}

# --- the user ------------------------------------------------------------------
form1() { xdotool search --onlyvisible --name '^Form1$' 2>/dev/null | head -1; }
geometry() { # X Y W H of a window on the screen
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4}
    /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}
# A point of the mascot near its middle (the middle of its shape may fall
# between the body and a speech bubble), read off the window's shape rather
# than the screen: a mascot that ate a food lying low sits over the panel,
# whose pixels a screenshot would mix with its own; and one that both of two
# frames a tick apart cover, for the spinning and the drunken frames move the
# body itself.
#
# The mascot may walk down over the bar at the bottom, which is stacked over
# it, and fall asleep there until it is picked up: a press is only made on
# what shows above the bar, and only where the server finds the mascot under
# the pointer. A mascot wholly under it, which no user could take hold of, is
# raised over the bar (and counted) so that the play goes on; a raise that the
# bar's stacking undoes is counted apart.
work_bottom() {
  xprop -root _NET_WORKAREA | awk -F'[=,]' '{print $3 + $5}'
}
grip_point() { # WINDOW [BOTTOM]
  python3 "$here/../tests/e2e/qt/xprobe.py" grip "$@"
}
# Whether a press at X Y would land on WINDOW: the top-level window the server
# finds under the pointer there, which is what the bar's stacking decides.
lands_on() { # WINDOW X Y
  [ "$(xdotool mousemove --sync "$2" "$3" getmouselocation --shell | sed -n 's/^WINDOW=//p')" = "$1" ]
}
mascot_middle() {
  local id x y
  id=$(form1) && [ -n "$id" ] || return 1
  if read -r x y < <(grip_point "$id" "$(work_bottom)") && lands_on "$id" "$x" "$y"; then
    echo "$x $y"
    return 0
  fi
  read -r x y < <(grip_point "$id") || return 1
  echo raised >>"$work/raised"
  xdotool windowraise "$id"
  lands_on "$id" "$x" "$y" || {
    echo "$x $y" >>"$work/unreachable"
    return 1
  }
  echo "$x $y"
}
menu_open() { # the program's popup menus: of that size, titled by the program's name
  local id w h
  for id in $(xdotool search --onlyvisible --classname pelmo 2>/dev/null); do
    [ "$(xdotool getwindowname "$id" 2>/dev/null)" = Pelmo ] || continue
    read -r w h < <(xwininfo -id "$id" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
    ((w >= 80 && w <= 400 && h >= 50 && h <= 400)) && return 0
  done
  return 1
}
# Each right-click that opened no menu is counted: a play that keeps missing the
# mascot leaves it alone, and the samples would show an idle program.
right_click_mascot() {
  local x y
  echo try >>"$work/menus"
  if read -r x y < <(mascot_middle); then
    xdotool mousemove 0 0 mousemove --sync "$x" "$y" click 3
    wait_for 3 menu_open && return 0
  fi
  echo miss >>"$work/misses"
  # A press beside the mascot opens the window manager's own menu, which
  # would take the next press too.
  xdotool key Escape
  return 1
}
# A message box (food already served) is answered. It is modal: one left open,
# because it came up later than looked for, would take every press after it.
answer_box() {
  local box
  box=$(xdotool search --onlyvisible --name '^飼い主の方へ$' 2>/dev/null | head -1)
  [ -z "$box" ] || xdotool windowactivate --sync "$box" key Return
}
# The menu's third entry opens the foods; KEYS picks one.
serve() {
  answer_box
  right_click_mascot || return 0
  xdotool key Down Down Down Right $1 Return
  sleep 0.5
  answer_box
}
hide_and_show() {
  answer_box
  right_click_mascot || return 0
  xdotool key Down Down Return # put away
  sleep 1
  local icon ix iy
  for icon in $(xdotool search --onlyvisible --classname pelmo 2>/dev/null); do
    read -r ix iy w h < <(geometry "$icon")
    if ((w <= 32 && h <= 32)); then
      xdotool mousemove $((ix + w / 2)) $((iy + h / 2)) click --repeat 2 --delay 80 1
      break
    fi
  done
}
# A drag to the middle of the screen, or beside a food that lies about: a food
# out of the mascot's reach would otherwise wait for ever, and the mascot idle
# beside it.
drag() {
  local x y food fx fy to_x=700 to_y=340
  answer_box
  read -r x y < <(mascot_middle) || return 0
  food=$(xdotool search --onlyvisible --name '^お食事の時間ですよ～$' 2>/dev/null | head -1)
  if [ -n "$food" ]; then
    read -r fx fy _ _ < <(geometry "$food")
    to_x=$((fx > 640 ? fx - 200 : fx + 200)) to_y=$((fy > 400 ? 340 : fy + 100))
  fi
  xdotool mousemove 0 0 mousemove --sync "$x" "$y" mousedown 1
  for step in 1 2 3 4; do
    xdotool mousemove $((x + (to_x - x) * step / 4)) $((y + (to_y - y) * step / 4))
    sleep 0.2
  done
  xdotool mouseup 1
  xdotool mousemove 5 5
}
# The sun's episode ends with the mascot's departure, which ends the program;
# a press on the mascot while the sun shines calls it back, as a user would.
keep_from_leaving() {
  local x y
  [ -n "$(xdotool search --onlyvisible --name '^SunForm$' 2>/dev/null)" ] || return 0
  read -r x y < <(mascot_middle) || return 0
  xdotool mousemove --sync "$x" "$y" mousedown 1 sleep 0.3 mouseup 1 mousemove 5 5
  suns=$((suns + 1))
}
round() {
  local keys
  for keys in "" "Down" "Down Down" "Down Down Down"; do
    serve "$keys"
    serve "$keys" # refused while food lies about: the message box
    sleep 8
  done
  hide_and_show
  sleep 2
  drag
}

# --- the samples -----------------------------------------------------------------
# What the X server holds for the program: its pixmaps' bytes and its windows.
x_resources() {
  xrestop -b -m 1 2>/dev/null | awk -v pid="$pelmo_pid" '
    /^[0-9]+ - / {mine = $0 ~ "PID: *" pid " *\\)"}
    mine && $1 == "windows" {win = $3}
    mine && $1 == "pixmap" && $2 == "bytes" {pix = $4}
    END {print (pix == "" ? "?" : pix), (win == "" ? "?" : win)}'
}
rss_now() { awk '/^(VmRSS|RssAnon):/ {printf "%s ", $2} END {print ""}' "/proc/$pelmo_pid/status" 2>/dev/null; }
# The program gives back what a menu or a box brought in once it closes, so a
# single reading depends on whether one is open. RSS is read every second; a
# sample holds the lowest reading since the last (what stays: the floor that a
# leak raises) and the highest (the peak, held against the target).
floor= peak= anon=
note_rss() {
  local rss own
  read -r rss own < <(rss_now) && [ -n "$own" ] || return 1
  if [ -z "$floor" ] || ((rss < floor)); then floor=$rss; fi
  if [ -z "$peak" ] || ((rss > peak)); then peak=$rss; fi
  if [ -z "$anon" ] || ((own < anon)); then anon=$own; fi
}
sample() { # seconds rss_floor_kb fds x_pixmap_bytes x_windows rss_peak_kb anon_floor_kb
  local fds
  note_rss || return 1
  fds=$(ls "/proc/$pelmo_pid/fd" | wc -l)
  echo "$1 $floor $fds $(x_resources) $peak $anon"
  floor= peak= anon=
}

samples=$work/samples
echo "# seconds rss_floor_kb fds x_pixmap_bytes x_windows rss_peak_kb anon_floor_kb" >"$samples"
start=$SECONDS
end=$((start + minutes * 60))
next=$start
user_pid=
suns=0
while ((SECONDS < end)); do
  keep_from_leaving
  if [ -z "$user_pid" ] || ! kill -0 "$user_pid" 2>/dev/null; then
    round >/dev/null 2>&1 &
    user_pid=$!
    pids+=($user_pid)
  fi
  if ((SECONDS >= next)); then
    sample $((SECONDS - start)) >>"$samples" || break
    tail -1 "$samples"
    next=$((next + 30))
  fi
  note_rss
  sleep 1
done
kill "$user_pid" 2>/dev/null
kill -0 "$pelmo_pid" 2>/dev/null || {
  echo "soak-desktop: the program ended during the soak" >&2
  cat "$work/pelmo.log" >&2
  exit 1
}
sample $((SECONDS - start)) >>"$samples"
[ -n "$samples_file" ] && cp "$samples" "$samples_file"
echo "soak-desktop: $minutes minutes, the sun called off $suns times," \
  "$(cat "$work/misses" 2>/dev/null | wc -l) of $(cat "$work/menus" 2>/dev/null | wc -l) menus missed," \
  "the mascot raised from under the bar $(cat "$work/raised" 2>/dev/null | wc -l) times" \
  "($(cat "$work/unreachable" 2>/dev/null | wc -l) of them still under it)"

# Least-squares slope per hour of each column, over the samples after the first
# minute, and the growth from the first of those to the largest later one.
awk -v limit="$rss_limit_kb" '
  /^#/ {next}
  {n_all++; if ($6 > max_rss) max_rss = $6}
  $1 < 60 {next}
  {
    n++; t[n] = $1
    for (c = 2; c <= 7; c++) { v[c, n] = $c }
  }
  END {
    if (n < 2) { print "soak-desktop: too few samples after the first minute"; exit 2 }
    name[2] = "rss_floor_kb"; name[3] = "fds"; name[4] = "x_pixmap_bytes"
    name[7] = "anon_floor_kb"
    judged[3] = judged[4] = judged[7] = 1
    noise[3] = 2; noise[4] = 16 * 1048576; noise[7] = 1024
    bad = 0
    split("7 2 3 4", columns, " ")
    for (k = 1; k <= 4; k++) {
      c = columns[k]
      st = sv = stt = stv = 0; top = v[c, 1]
      for (i = 1; i <= n; i++) {
        st += t[i]; sv += v[c, i]; stt += t[i] * t[i]; stv += t[i] * v[c, i]
        if (v[c, i] > top) top = v[c, i]
      }
      d = n * stt - st * st
      slope = d > 0 ? (n * stv - st * sv) / d * 3600 : 0
      growth = top - v[c, 1]
      printf "soak-desktop: %-15s first %d, last %d, max growth after 1 min %d, slope %.1f/h%s\n",
        name[c], v[c, 1], v[c, n], growth, slope, (judged[c] ? "" : " (reported only)")
      if (judged[c] && growth > noise[c]) bad = 1
    }
    printf "soak-desktop: largest RSS %.1f MB, target %.1f MB: %s\n", max_rss / 1024,
      limit / 1024, (max_rss > limit ? "missed" : "met")
    exit bad
  }' "$samples"
