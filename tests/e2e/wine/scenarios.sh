# Sourced by run.sh: what a user does with the mascot, checked from outside.
# The mascot lives its own random life meanwhile (it may walk off, or a weather
# episode may begin), so a scenario that fails is tried again from a fresh
# start, up to three times; a real fault fails every time.

PELMO_PID=

start_pelmo() {
  rm -f "$work/sound.raw"
  HOME=$work/home timeout 180 wine "$build/pelmo.exe" >>"$work/pelmo.log" 2>&1 &
  PELMO_PID=$!
  park_tray && wait_for 30 form1_shown
}

stop_pelmo() {
  [ -n "$PELMO_PID" ] || return 0
  kill "$PELMO_PID" 2>/dev/null && wait "$PELMO_PID" 2>/dev/null
  PELMO_PID=
  wait_for 10 tray_gone
}

tray_gone() { [ -z "$(tray_window)" ]; }
sound_written() { [ -s "$work/sound.raw" ] && [ "$(tr -d '\0' <"$work/sound.raw" | head -c 64 | wc -c)" -gt 0 ]; }
pelmo_ended() { ! kill -0 "$PELMO_PID" 2>/dev/null; }

expect() {  # expect DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then
    echo "  ok     $what"
  else
    echo "  not ok $what"
    return 1
  fi
}

run_scenario() {
  local attempt
  for attempt in 1 2 3; do
    echo "-- $1 (attempt $attempt)"
    if start_pelmo && "$1"; then
      stop_pelmo
      echo "PASS $1"
      return 0
    fi
    screenshot "$work/$1-failed-$attempt.png"
    list_windows >"$work/$1-failed-$attempt.windows"
    stop_pelmo
  done
  echo "FAIL $1"
  failures=$((failures + 1))
}

near_corner() { [ "$X" -ge 0 ] && [ "$X" -le 30 ] && [ "$Y" -ge 0 ] && [ "$Y" -le 30 ]; }
sprite_sized() { [ "$WIDTH" -eq 150 ] && [ "$HEIGHT" -eq 100 ]; }
no_blue_on_screen() { [ "$(blue_pixels "$1")" -eq 0 ]; }
moved_toward() { [ "$X" -ge $(($1 + 100)) ] && [ "$Y" -ge $(($2 + 100)) ]; }
clicks_unchanged() { [ "$(backdrop_clicks)" -eq "$1" ]; }

pointer_and_sound() {
  geometry_of "$(visible_window Form1)"
  expect "the mascot starts at the work area's top-left corner ($X,$Y)" near_corner || return 1
  expect "its window is the sprite's size, not the work area's (${WIDTH}x$HEIGHT)" sprite_sized ||
    return 1
  screenshot "$work/start.png"
  expect "no pixel of key blue is drawn" no_blue_on_screen "$work/start.png" || return 1

  geometry_of "$(visible_window Form1)"
  xdotool mousemove $((X + 1)) $((Y + 1)) click 1
  expect "a click on the sprite's blue reaches the backdrop" \
    wait_for 2 backdrop_clicked_at $((X + 1)) $((Y + 1)) || return 1

  mascot_body_point || { echo "  no mascot body on screen"; return 1; }
  local clicks start_x start_y
  clicks=$(backdrop_clicks)
  geometry_of "$(visible_window Form1)"
  start_x=$X start_y=$Y
  xdotool mousemove "$BODY_X" "$BODY_Y" mousedown 1
  expect "a press on the sprite reaches the program, not the backdrop" \
    wait_for 1 clicks_unchanged "$clicks" || { xdotool mouseup 1; return 1; }
  expect "picking the mascot up plays a sound (ALSA file)" wait_for 3 sound_written ||
    { xdotool mouseup 1; return 1; }
  xdotool mousemove $((BODY_X + 400)) $((BODY_Y + 300))
  sleep 2.5
  geometry_of "$(visible_window Form1)"
  xdotool mouseup 1
  screenshot "$work/dragged.png"
  expect "the held mascot follows the pointer (from $start_x,$start_y to $X,$Y)" \
    moved_toward "$start_x" "$start_y"
}

menu_item_point() {  # menu_item_point INDEX COUNT: the middle of that item
  geometry_of "$(menu_window)"
  ITEM_X=$((X + WIDTH / 2))
  ITEM_Y=$((Y + HEIGHT * (2 * $1 - 1) / (2 * $2)))
}

# A menu of Japanese captions is far narrower when the glyphs are missing
# (about 90 pixels for the mascot's menu) than with the linked CJK font.
captions_have_glyphs() { geometry_of "$(menu_window)"; [ "$WIDTH" -ge 120 ]; }

menus_and_tray() {
  mascot_body_point || { echo "  no mascot body on screen"; return 1; }
  xdotool mousemove "$BODY_X" "$BODY_Y" click 3
  expect "a right click on the mascot opens its menu" wait_for 3 menu_open || return 1
  sleep 0.3
  screenshot "$work/menu-main.png"
  expect "the Japanese captions are drawn with real glyphs" captions_have_glyphs || return 1
  menu_item_point 2 3
  xdotool mousemove "$ITEM_X" "$ITEM_Y" click 3
  # Without a window manager Wine waits about 2 s for one before a window is withdrawn.
  expect "'Pelmoを仕舞う．' chosen with the right button puts the mascot away" \
    wait_for 6 form1_hidden || return 1

  tray_icon_point
  xdotool mousemove "$TRAY_X" "$TRAY_Y" click 1
  sleep 1
  expect "a single click on the tray icon does nothing" form1_hidden || return 1
  xdotool click --repeat 2 --delay 100 1
  expect "a double-click on the tray icon shows the mascot" wait_for 5 form1_shown || return 1

  xdotool mousemove "$TRAY_X" "$TRAY_Y" click 3
  expect "a right-button release on the tray icon opens the tray menu" wait_for 3 menu_open ||
    return 1
  sleep 0.3
  screenshot "$work/menu-tray.png"
  menu_item_point 2 3
  xdotool mousemove "$ITEM_X" "$ITEM_Y" click 1
  expect "'終了' ends the program" wait_for 10 pelmo_ended || return 1
  local status=0
  wait "$PELMO_PID" || status=$?
  PELMO_PID=
  expect "with exit status 0 (got $status)" [ "$status" -eq 0 ] || return 1
  expect "and removes the tray icon" wait_for 5 tray_gone
}

angel_shown() { geometry_of "$(visible_window Form1)" && [ "$WIDTH" -eq 100 ] && [ "$HEIGHT" -eq 150 ]; }

double_click_departs() {
  mascot_body_point || { echo "  no mascot body on screen"; return 1; }
  xdotool mousemove "$BODY_X" "$BODY_Y" click --repeat 2 --delay 100 1
  expect "a double-click on the mascot starts the departure: the angel shows" \
    wait_for 5 angel_shown || return 1
  screenshot "$work/angel.png"
  expect "the angel floats off and the program ends by itself" wait_for 60 pelmo_ended ||
    return 1
  local status=0
  wait "$PELMO_PID" || status=$?
  PELMO_PID=
  expect "with exit status 0 (got $status)" [ "$status" -eq 0 ] || return 1
  expect "and removes the tray icon" wait_for 5 tray_gone
}

# At 200 % (LogPixels 192, set by run.sh): the standing mascot twice its size in
# the corner, each of its pixels a 2x2 block, no blue, and clicks through its blue.
twice_the_sprite() { [ "$WIDTH" -eq 300 ] && [ "$HEIGHT" -eq 200 ]; }
replicated_twice() { # SCREENSHOT: every pixel its picture's own, the blue the backdrop's
  local ppm=$work/scaled.ppm wrong blue
  convert "$1" -depth 8 "$ppm"
  read -r wrong blue < <(python3 "$here/../qt/xprobe.py" replica "$ppm" \
    "$build/assets/generated/BMP_BASIC1.bmp" "$X" "$Y" 2 "${BACKDROP#\#}")
  echo "  ($wrong pixels differ from the picture at 2x, $blue are blue)"
  [ "$wrong" -eq 0 ] && [ "$blue" -eq 0 ]
}

scaled_mascot() {
  geometry_of "$(visible_window Form1)"
  expect "the mascot starts at the work area's top-left corner ($X,$Y)" near_corner || return 1
  expect "its window is twice the sprite's size (${WIDTH}x$HEIGHT)" twice_the_sprite || return 1
  sleep 0.3
  screenshot "$work/scaled.png"
  expect "the picture is shown 2x by pixel replication" replicated_twice "$work/scaled.png" ||
    return 1
  expect "no pixel of key blue is drawn" no_blue_on_screen "$work/scaled.png" || return 1
  xdotool mousemove $((X + 1)) $((Y + 1)) click 1
  expect "a click on the sprite's blue reaches the backdrop" \
    wait_for 2 backdrop_clicked_at $((X + 1)) $((Y + 1))
}
