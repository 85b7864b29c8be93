#!/usr/bin/env bash
# The Qt desktop program on a 2560x1600 screen at 200 %: the mascot at twice its
# size, each of its pixels a 2x2 block, with no blue and clicks through its blue;
# the same after Xft.dpi changes while it runs, and with Qt's own scaling asked
# for in the environment. A private Xvfb without a window manager; screenshots
# are kept in BUILD_DIR/e2e-qt-scaled.
#
#   tests/e2e/qt/scaled.sh BUILD_DIR      (the program is BUILD_DIR/app/pelmo)
#
# Only processes started here are stopped, by their ids.
set -uo pipefail

build=$(cd "${1:?usage: scaled.sh BUILD_DIR}" && pwd)
pelmo=$build/app/pelmo
here=$(cd "$(dirname "$0")" && pwd)
probe=(python3 "$here/xprobe.py")
artifacts=$build/e2e-qt-scaled
backdrop_colour=336633
picture=$build/assets/generated/BMP_BASIC1.bmp

source "$here/../../../scripts/lib/xvfb.sh"
require_tools e2e-qt-scaled "scripts/install-deps installs the test packages" Xvfb xprop \
  xdotool xwininfo import python3
[ -x "$pelmo" ] || {
  echo "e2e-qt-scaled: no program at $pelmo; build the target pelmo first" >&2
  exit 2
}

private_session pelmo-e2e-scaled
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

start_xvfb "$work" 2560x1600 || {
  echo "e2e-qt-scaled: Xvfb did not start" >&2
  exit 2
}
pids+=($XVFB_PID)
export HOME=$work/home XDG_RUNTIME_DIR=$work/run
export DBUS_SESSION_BUS_ADDRESS=disabled:
export PULSE_SERVER=unix:$work/run/no-sound-here # silence: sounds are not checked here

# The desktop's scale, as a desktop sets it: the X resources on the root window.
set_dpi() { xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.dpi:\t%s' "$1")"; }

"${probe[@]}" backdrop "$work/clicks.log" "$backdrop_colour" 0 0 2560 1600 &
pids+=($!)
wait_for 10 grep -q ready "$work/clicks.log"

pelmo_pid=
start_pelmo() { # ENV...: seed 70219 keeps the mascot standing in its corner
  env PELMO_SEED=70219 "$@" "$pelmo" >>"$artifacts/pelmo.log" 2>&1 &
  pelmo_pid=$!
  pids+=($pelmo_pid)
}
window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
shown() { [ -n "$(window "$1")" ]; }
drawn() {
  xwininfo -shape -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Window shape extents:/ {split($4, e, /[x+]/); print x + e[3], y + e[4], e[1], e[2]}'
}
read -r figure_left figure_top < <("${probe[@]}" figure "$picture")
drawn_from() { # N: the figure is drawn from N times its place in the picture
  read -r x y _ _ < <(drawn "$(window Form1)")
  [ "$x $y" = "$(($1 * figure_left)) $(($1 * figure_top))" ]
}

# The standing mascot at N times its size in the screen's corner: every pixel of
# the 150N x 100N picture is its own pixel's colour or the backdrop, none blue;
# a click on its blue reaches the backdrop.
expect_scale() { # N WHAT
  local n=$1 what=$2
  if ! wait_for 10 drawn_from "$n"; then
    fail "$what: the figure is drawn from $(drawn "$(window Form1)"), not from $((n * figure_left)),$((n * figure_top))"
    return
  fi
  sleep 0.3 # the pixels follow the shape in the same batch; a moment for the screenshot
  read -r wrong blue < <("${probe[@]}" replica "$(shot "scale-$n-$what")" "$picture" 0 0 "$n" "$backdrop_colour")
  ((wrong == 0 && blue == 0)) &&
    pass "$what: a $((150 * n))x$((100 * n)) mascot, each pixel an ${n}x$n block, no blue" ||
    fail "$what: $wrong pixels differ from the picture shown ${n}x, $blue are blue"
  local bx=$((n * figure_left - 3)) by=$((n * figure_top - 3))
  xdotool mousemove --sync "$bx" "$by" click 1
  wait_for 5 grep -q "^$bx $by 1\$" "$work/clicks.log" &&
    pass "$what: a click on the mascot's blue reaches the window below" ||
    fail "$what: a click on blue at $bx,$by did not reach the window below"
}

set_dpi 192
start_pelmo
if wait_for 15 shown Form1; then
  expect_scale 2 "Xft.dpi 192"
  set_dpi 96
  expect_scale 1 "Xft.dpi changed to 96"
  set_dpi 288
  expect_scale 3 "Xft.dpi changed to 288"
  # Holding the mascot: the strawberry cursor, each of its pixels a 3x3 block.
  xdotool mousemove --sync 225 150 mousedown 1
  big_strawberry() { read -r w h xh yh red < <("${probe[@]}" cursor) && ((w == 96 && h == 96 && xh == 0 && yh == 0 && red > 450)); }
  wait_for 3 big_strawberry && pass "Xft.dpi 288: the drag cursor is the strawberry at 3x" ||
    fail "Xft.dpi 288: the drag cursor is not a 96x96 strawberry ($("${probe[@]}" cursor))"
  xdotool mouseup 1
else
  fail "no mascot window appeared at Xft.dpi 192"
fi
kill "$pelmo_pid" 2>/dev/null

# Qt's scaling asked for: the program scales the sprites itself, in device pixels,
# and the menu opens at the pointer.
set_dpi 96
start_pelmo QT_SCALE_FACTOR=2 QT_ENABLE_HIGHDPI_SCALING=1
if wait_for 15 shown Form1; then
  expect_scale 2 "QT_SCALE_FACTOR=2"
  px=$((2 * figure_left + 60)) py=$((2 * figure_top + 60))
  xdotool mousemove --sync "$px" "$py" click 3
  menu_at_pointer() { # sets menu_height
    local id x y
    for id in $(xdotool search --onlyvisible --classname pelmo 2>/dev/null); do
      [ "$id" = "$(window Form1)" ] && continue
      read -r x y menu_height < <(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$4}
        /Absolute upper-left Y/ {y=$4} /Height:/ {h=$2} END {print x, y, h}')
      (($(abs $((x - px))) <= 2 && $(abs $((y - py))) <= 2)) && return 0
    done
    return 1
  }
  abs() { echo $(($1 < 0 ? -$1 : $1)); }
  menu_height=0
  # Checked once more outside wait_for, which runs it in a subshell, for the height.
  wait_for 5 menu_at_pointer && menu_at_pointer &&
    pass "QT_SCALE_FACTOR=2: the menu opens at the pointer" ||
    fail "QT_SCALE_FACTOR=2: no menu opened at the pointer ($px,$py)"
  # The menu's three lines at 96 dpi are 68 pixels tall, its margins included;
  # with the text at twice its size, over 100.
  ((menu_height > 100)) && pass "QT_SCALE_FACTOR=2: the menu's text is twice its size (${menu_height} pixels tall)" ||
    fail "QT_SCALE_FACTOR=2: the menu is ${menu_height} pixels tall, its text not scaled"
  shot menu >/dev/null
  xdotool key Escape
else
  fail "no mascot window appeared with QT_SCALE_FACTOR=2"
fi
kill "$pelmo_pid" 2>/dev/null

if ((failures > 0)); then
  echo "e2e-qt-scaled: $failures check(s) failed; screenshots in $artifacts" >&2
  exit 1
fi
echo "e2e-qt-scaled: all checks passed; screenshots in $artifacts"
