#!/usr/bin/env bash
# End-to-end tests of the Qt desktop front-end: the real program on a private X
# server (Xvfb) with a window manager (openbox), a tray host (tint2), a null
# PulseAudio sink recorded through its monitor and a logging browser; the user is
# played by xdotool and what they would see is read from screenshots.
#
#   tests/e2e/qt/run.sh BUILD_DIR      (the program is BUILD_DIR/app/pelmo)
#
# Screenshots and recordings are kept in BUILD_DIR/e2e-qt for a look afterwards.
# Only processes started here are stopped, by their ids.
set -uo pipefail

build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
pelmo=$build/app/pelmo
here=$(cd "$(dirname "$0")" && pwd)
probe=(python3 "$here/xprobe.py")
artifacts=$build/e2e-qt
backdrop_colour=336633

source "$here/../../../scripts/lib/xvfb.sh"
require_tools e2e-qt "scripts/install-deps installs the test packages" Xvfb openbox tint2 \
  pulseaudio pactl parec xdotool xwininfo xprop import fc-list python3
[ -x "$pelmo" ] || {
  echo "e2e-qt: no program at $pelmo; build the target pelmo first" >&2
  exit 2
}

private_session pelmo-e2e
rm -rf "$artifacts" && mkdir -p "$artifacts"

failures=0
pass() { echo "ok   - $1"; }
fail() {
  echo "FAIL - $1" >&2
  failures=$((failures + 1))
  shot "failure-$failures" >/dev/null
}

shot() {
  import -window root "$artifacts/$1.png" 2>/dev/null
  import -window root -depth 8 "$work/shot.ppm" 2>/dev/null
  echo "$work/shot.ppm"
}

# --- the desktop -------------------------------------------------------------
start_xvfb "$work" || {
  echo "e2e-qt: Xvfb did not start" >&2
  exit 2
}
pids+=($XVFB_PID)
export HOME=$work/home XDG_RUNTIME_DIR=$work/run
export DBUS_SESSION_BUS_ADDRESS=disabled:  # no desktop bus: the tray is the X11 one
export PULSE_SERVER=unix:$work/run/pulse.sock

openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
tint2 >"$work/tint2.log" 2>&1 &
tint2_pid=$!
pids+=($tint2_pid)
wait_for 10 "${probe[@]}" tray || echo "e2e-qt: tint2 did not take the tray" >&2
panel_reserved() { ! xprop -root _NET_WORKAREA | grep -q '= 0, 0, 1280, 800,'; }
wait_for 10 panel_reserved || echo "e2e-qt: the panel reserved no room" >&2

pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes \
  -L "module-null-sink sink_name=e2e" \
  -L "module-native-protocol-unix socket=$work/run/pulse.sock auth-anonymous=1" \
  >"$work/pulse.log" 2>&1 &
pids+=($!)
wait_for 10 pactl info || echo "e2e-qt: PulseAudio did not start; sound checks will fail" >&2

printf '#!/bin/sh\necho "$@" >> %s/browser.log\n' "$work" >"$work/browser"
chmod +x "$work/browser"
export BROWSER=$work/browser

read -r area_left area_top area_width area_height < <(
  xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g' | awk '{print $1, $2, $3, $4}')
# The desktop behind the mascot: one colour over the work area, and a witness of
# the clicks that pass through the mascot's windows.
"${probe[@]}" backdrop "$work/clicks.log" "$backdrop_colour" \
  "$area_left" "$area_top" "$area_width" "$area_height" &
pids+=($!)
wait_for 10 grep -q ready "$work/clicks.log"

# --- helpers on the program's windows ------------------------------------------
pelmo_pid=
start_pelmo() {
  # Seed 70219: the mascot's first 379 idle decisions (38 s of idling) all keep
  # it where it is, so no walk, sleep, rain or sun crosses the checks; the draws
  # do not depend on timing, only on how many idle ticks have passed.
  PELMO_SEED=70219 "$pelmo" >>"$artifacts/pelmo.log" 2>&1 &
  pelmo_pid=$!
  pids+=($pelmo_pid)
}
pelmo_ended() { ! kill -0 "$pelmo_pid" 2>/dev/null; }

window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
shown() { [ -n "$(window "$1")" ]; }
hidden() { [ -z "$(window "$1")" ]; }
# X Y W H of a visible window.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}
# X Y W H on the screen of what a sprite window draws: the extents of its shape.
# A sprite moves within a window somewhat larger than itself, so this, not the
# window, is where the user sees it.
drawn() {
  xwininfo -shape -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Window shape extents:/ {split($4, e, /[x+]/); print x + e[3], y + e[4], e[1], e[2]}'
}
# The program's visible windows of a size: the menus and the tray icon carry no
# plain WM_NAME, so they are found by class.
window_sized() { # MIN_W MAX_W MIN_H MAX_H
  local id
  for id in $(xdotool search --onlyvisible --classname pelmo 2>/dev/null); do
    read -r _ _ w h < <(geometry "$id")
    ((w >= $1 && w <= $2 && h >= $3 && h <= $4)) && echo "$id" && return 0
  done
  return 1
}
tray_icon() { window_sized 8 32 8 32; }     # the icon inside the tray host
status_window() { window_sized 40 40 40 40; } # its stand-in without a tray host
menu_window() { window_sized 80 400 50 400; }
no_program_window() { ! xdotool search --classname pelmo; }
at() { xdotool mousemove --sync "$1" "$2"; }
moved_from() { # ID X Y: the sprite is drawn more than 40 pixels away from (X, Y)
  read -r x y _ _ < <(drawn "$1")
  (($(abs $((x - $2))) + $(abs $((y - $3))) > 40))
}
abs() { echo $(($1 < 0 ? -$1 : $1)); }
strawberry() { read -r w h xh yh red < <("${probe[@]}" cursor) && ((xh == 0 && yh == 0 && red > 50)); }
# A menu is open and its captions are drawn: 3 lines of text leave many pixels
# off the menu's background colour.
menu_has_text() {
  local id x y w h
  id=$(menu_window) || return 1
  read -r x y w h < <(geometry "$id")
  (($("${probe[@]}" ink "$(shot menu)" "$x" "$y" "$w" "$h") > 200))
}
# Where a press lands on the mascot: a point of its shape, above the panel, that
# two looks a tick apart share with room round it, so that neither the next
# frame (the two sleeping frames differ in outline) nor a step of the walk can
# slip from under it. The screenshot is kept to show what was pressed.
mascot_pixel() {
  shot "${1:-mascot}" >/dev/null
  "${probe[@]}" grip "$(window Form1)" $((area_top + area_height))
}

# Opens the mascot's menu with a right-click on it. A right-click that the
# mascot's next frame slipped out from under goes to the desktop below, so it
# is made again, up to three times, on a point picked anew.
mascot_menu() { # SHOT
  local try px py
  for try in 1 2 3; do
    read -r px py < <(mascot_pixel "$1-$try") || continue
    at "$px" "$py" && xdotool click 3
    wait_for 3 menu_has_text && return 0
    xdotool key Escape
  done
  return 1
}

echo "e2e-qt: display $DISPLAY, work area $area_left,$area_top ${area_width}x$area_height"
[ -n "$(fc-list :lang=ja family)" ] &&
  pass "a Japanese font is installed ($(fc-match -f '%{family}' :lang=ja))" ||
  fail "no Japanese font (fonts-ipafont-gothic) for the menus"

# --- start: the corner, the colour key, clicks through blue -------------------------
start_pelmo
if wait_for 15 shown Form1; then
  form1=$(window Form1)
  # The first picture, standing, with its own blue margin at the work area's corner.
  read -r left top < <("${probe[@]}" figure "$build/assets/generated/BMP_BASIC1.bmp")
  read -r x y _ _ < <(drawn "$form1")
  [ "$x $y" = "$((area_left + left)) $((area_top + top))" ] &&
    pass "the mascot appears at the work area's top-left corner" ||
    fail "the mascot is drawn from $x,$y, not from $((area_left + left)),$((area_top + top))"
  read -r wx wy w h < <(geometry "$form1")
  read -r count blue _ < <("${probe[@]}" region "$(shot start)" "$wx" "$wy" "$w" "$h" "$backdrop_colour")
  ((blue == 0 && count > 500 && count < w * h - 500)) &&
    pass "the mascot is drawn and its blue shows the desktop behind ($count of $((w * h)) pixels drawn)" ||
    fail "colour key: $count pixels drawn, $blue pure blue in the mascot's ${w}x$h window"
  # Just above and left of the figure: blue of the picture, inside the window.
  bx=$((x - 3)) by=$((y - 3))
  read -r count _ _ < <("${probe[@]}" region "$work/shot.ppm" "$bx" "$by" 2 2 "$backdrop_colour")
  if ((count == 0)); then
    at "$bx" "$by" && xdotool click 1
    wait_for 5 grep -q "^$bx $by 1\$" "$work/clicks.log" &&
      pass "a click on the mascot window's blue reaches the window below" ||
      fail "a click on blue at $bx,$by did not reach the window below"
  else
    fail "the blue beside the mascot is not see-through"
  fi
else
  fail "no mascot window appeared"
fi

# --- drag: the mascot follows with the strawberry cursor, to the chimes ----------
read -r px py < <(mascot_pixel before-drag)
read -r x0 y0 _ _ < <(drawn "$(window Form1)")
parec -d e2e.monitor --latency-msec=20 --format=s16le --rate=44100 --channels=2 \
  >"$work/drag.raw" 2>/dev/null &
parec_pid=$!
pids+=($parec_pid)
wait_for 5 sh -c 'pactl list short source-outputs | grep -q .'
# The monitor starts delivering some time after the recorder connects: press only
# once samples arrive, or the head of the chimes is never recorded.
wait_for 5 test -s "$work/drag.raw"
at "$px" "$py" && xdotool mousedown 1
wait_for 3 strawberry && pass "the strawberry cursor shows while the mascot is held" ||
  fail "no strawberry cursor during the drag ($("${probe[@]}" cursor))"
for step in 1 2 3 4; do at $((px + step * 150)) $((py + step * 90)); done
wait_for 10 moved_from "$(window Form1)" "$x0" "$y0" &&
  pass "the held mascot moves toward the pointer" || fail "the held mascot did not move"
xdotool mouseup 1
shot dragged >/dev/null
wait_for 3 sh -c "! $(printf '%q ' "${probe[@]}") cursor | awk '\$3 == 0 && \$4 == 0 && \$5 > 50 {f=1} END {exit !f}'" &&
  pass "a release far from the mascot ends the drag (the cursor is back)" ||
  fail "the drag cursor stayed after the release far away"
# The program grabs the pointer itself while the mascot is held; a grab kept
# past the release would take every press on the desktop.
wait_for 3 "${probe[@]}" free && pass "the pointer is free again once the mascot is let go" ||
  fail "the program still holds the pointer after the release"
read -r x1 y1 _ _ < <(drawn "$(window Form1)")
at $((area_left + 60)) $((area_top + area_height - 60))
sleep 1 # watching that nothing happens: the mascot must stay where it was let go
moved_from "$(window Form1)" "$x1" "$y1" && fail "the mascot kept following after the release" ||
  pass "the mascot stays put once let go"
kill "$parec_pid" 2>/dev/null
heard=$("${probe[@]}" audible "$work/drag.raw")
cp "$work/drag.raw" "$artifacts/drag-44100-s16le-stereo.raw"
awk -v s="$heard" 'BEGIN {exit !(s >= 0.5)}' &&
  pass "the chimes play whole on the sound card (${heard} s audible)" ||
  fail "the chimes were ${heard} s long on the sound card, not about 0.56 s"

# --- the mascot's menu, serving food, the meal --------------------------------------
mascot_menu before-menu && pass "a right-click opens the menu with its captions (see menu.png)" ||
  fail "no menu with captions appeared at the pointer"
xdotool key Down Down Down Right Return # ご飯 > 飴
food_name='お食事の時間ですよ～'
if wait_for 5 shown "$food_name"; then
  food=$(window "$food_name")
  read -r fx fy fw fh < <(geometry "$food")
  # Only the part over the backdrop: the food may lie partly under the panel.
  read -r count _ grab < <("${probe[@]}" region "$(shot food)" "$fx" "$fy" "$fw" \
    $((fy + fh > area_top + area_height ? area_top + area_height - fy : fh)) "$backdrop_colour")
  ((count > 100)) && pass "serving candy shows the food" || fail "the food window shows nothing"
  read -r mx my _ _ < <(drawn "$(window Form1)")
  read -r fx fy _ _ < <(drawn "$food")
  # Drag the food to 240 pixels right of the mascot, within its reach.
  read -r gx gy <<<"$grab"
  tx=$((mx + 240)) ty=$my
  at "$gx" "$gy" && xdotool mousedown 1
  for step in 1 2 3 4 5; do
    at $((gx + (tx - fx) * step / 5)) $((gy + (ty - fy) * step / 5))
  done
  xdotool mouseup 1
  food_at_target() {
    read -r x y _ _ < <(drawn "$food")
    (($(abs $((x - tx))) + $(abs $((y - ty))) <= 2))
  }
  wait_for 3 food_at_target && pass "the food window follows the pointer while dragged" ||
    fail "the dragged food is drawn at $(drawn "$food"), not at $tx,$ty"
  mascot_at_food() { # the two figures overlap
    read -r x y w h < <(drawn "$(window Form1)")
    read -r a b c d < <(drawn "$food")
    ((x < a + c && a < x + w && y < b + d && b < y + h))
  }
  # Each tick of the walk moves the mascot, and each move must reach the server
  # as it is made, not in bursts when the connection's buffer fills.
  mascot=$(window Form1)
  places=$(for _ in $(seq 10); do
    drawn "$mascot"
    sleep 0.1
  done | sort -u | wc -l)
  ((places >= 5)) && pass "the walk reaches the screen tick by tick ($places places in 1 s)" ||
    fail "the walking mascot was seen in only $places places in 1 s"
  wait_for 20 mascot_at_food && pass "the mascot walks to the food" ||
    fail "the mascot did not reach the food"
  shot eating >/dev/null
  wait_for 5 hidden "$food_name" && pass "the mascot eats the food up" ||
    fail "the food is still there"
else
  fail "no food appeared after choosing candy"
fi

# --- put away, bring back, the home page, exit from the tray -------------------------
if mascot_menu before-put-away; then
  xdotool key Down Down Return # Pelmoを仕舞う．
  wait_for 5 hidden Form1 && pass "the menu puts the mascot away" || fail "the mascot is still shown"
else
  fail "no menu opened on the mascot to put it away"
fi
if icon=$(tray_icon); then
  pass "the tray icon is in the tray"
  read -r ix iy iw ih < <(geometry "$icon")
  at $((ix + iw / 2)) $((iy + ih / 2))
  xdotool click --repeat 2 --delay 80 1
  wait_for 5 shown Form1 && pass "a double-click on the tray icon brings the mascot back" ||
    fail "the mascot did not come back"
  tray_menu() {
    at $((ix + iw / 2)) $((iy + ih / 2)) && xdotool click 3
    wait_for 5 menu_window
  }
  tray_menu
  xdotool key Down Down Down Return # Pelmoぺーじ
  wait_for 10 grep -q '^https\?://[^/]*/pelmo/' "$work/browser.log" &&
    pass "the tray menu opens the home page ($(cat "$work/browser.log"))" ||
    fail "no home page was opened"
  tray_menu
  xdotool key Down Down Return # 終了
  if wait_for 10 pelmo_ended; then
    pass "Exit in the tray menu ends the program"
    wait "$pelmo_pid"
    status=$?
    ((status == 0)) && pass "the program returns 0" || fail "the program returned $status"
  else
    fail "the program did not end on Exit"
  fi
  wait_for 3 no_program_window &&
    pass "the tray icon is gone" || fail "the tray icon is left behind"
else
  fail "no tray icon"
  kill "$pelmo_pid"
fi

# --- the departure ------------------------------------------------------------------
start_pelmo
if wait_for 15 shown Form1; then
  read -r px py < <(mascot_pixel before-departure)
  at "$px" "$py" && xdotool click --repeat 2 --delay 80 1
  wait_for 40 pelmo_ended && pass "a double-click sends the mascot off and the program ends" ||
    fail "the program still runs after the double-click"
  wait_for 3 no_program_window &&
    pass "the tray icon is gone after the departure" || fail "the tray icon is left behind"
else
  fail "no mascot window appeared"
fi
kill "$pelmo_pid" 2>/dev/null

# --- no tray host: the stand-in window ------------------------------------------------
kill "$tint2_pid"
wait_for 5 sh -c "! $(printf '%q ' "${probe[@]}") tray"
start_pelmo
if wait_for 15 shown Form1 && wait_for 5 status_window; then
  pass "without a tray host a status window stands in for the tray icon"
  read -r sx sy sw sh < <(geometry "$(status_window)")
  # Only a mascot that was put away shows whether the double-click brings it back.
  if mascot_menu before-put-away-2 && xdotool key Down Down Return && wait_for 5 hidden Form1; then
    at $((sx + sw / 2)) $((sy + sh / 2)) && xdotool click --repeat 2 --delay 80 1
    wait_for 5 shown Form1 && pass "a double-click on the status window brings the mascot back" ||
      fail "the status window did not bring the mascot back"
  else
    fail "the mascot could not be put away beside the status window"
  fi
  at $((sx + sw / 2)) $((sy + sh / 2)) && xdotool click 3
  wait_for 5 menu_window
  xdotool key Down Down Return # 終了
  wait_for 10 pelmo_ended && pass "Exit from the status window's menu ends the program" ||
    fail "the program did not end from the status window's menu"
else
  fail "no status window without a tray host"
fi

if ((failures > 0)); then
  echo "e2e-qt: $failures check(s) failed; screenshots in $artifacts" >&2
  exit 1
fi
echo "e2e-qt: all checks passed; screenshots in $artifacts"
