# Sourced by run.sh: a virtual X desktop with a coloured backdrop that logs the
# clicks reaching it, and helpers to look at and handle Pelmo's windows.

readonly BACKDROP="#2E8B57"  # sea green: neither the key blue nor any sprite colour
readonly TRAY_AT_X=1100 TRAY_AT_Y=770

start_desktop() {  # start_desktop WORKDIR [WIDTHxHEIGHT]
  start_xvfb "$@" || return 1
  xsetroot -solid "$BACKDROP"
  # The root window is the backdrop; every click that falls through lands here.
  BACKDROP_LOG=$1/backdrop-clicks.log
  xev -root -event button >"$BACKDROP_LOG" 2>&1 &
  XEV_PID=$!
  sleep 0.3
}

stop_desktop() {
  [ -n "${XEV_PID:-}" ] && kill "$XEV_PID" 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  XEV_PID= XVFB_PID=
}

backdrop_clicks() { grep -c '^ButtonPress' "$BACKDROP_LOG" || true; }
backdrop_clicked_at() { grep -A1 '^ButtonPress' "$BACKDROP_LOG" | grep -q "root:($1,$2)"; }

screenshot() { import -window root "$1"; }

# How many pixels of exact key blue the screen shows.
blue_pixels() {
  convert "$1" -fill black +opaque "#0000FF" -fill white -opaque "#0000FF" \
    -format "%[fx:int(mean*w*h+0.5)]" info:
}

list_windows() {
  local w
  for w in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    echo "$w [$(xdotool getwindowname "$w")] $(xdotool getwindowgeometry "$w" | tail -n 2 | tr -s ' \n' ' ')"
  done
}

visible_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }

wait_for() {  # wait_for SECONDS COMMAND...: until the command succeeds
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.1
  done
}

form1_shown() { [ -n "$(visible_window Form1)" ]; }
form1_hidden() { [ -z "$(visible_window Form1)" ]; }

# Sets X Y WIDTH HEIGHT for a window.
geometry_of() { eval "$(xdotool getwindowgeometry --shell "$1")"; }

# Pelmo's popup menu: a visible window of pelmo.exe without a title.
menu_window() {
  local w
  for w in $(xdotool search --onlyvisible --classname '^pelmo.exe$' 2>/dev/null); do
    [ -z "$(xdotool getwindowname "$w")" ] && { echo "$w"; return 0; }
  done
  return 1
}
menu_open() { menu_window >/dev/null; }
menu_closed() { ! menu_window >/dev/null; }

# A screen point on the mascot's body (its cream colour, or the giant's in the
# rain), read from the screen just now; fails when none shows.
mascot_body_point() {
  local form1 shot points count
  form1=$(visible_window Form1) || return 1
  [ -n "$form1" ] || return 1
  geometry_of "$form1"
  shot=$(mktemp --suffix=.png)
  screenshot "$shot"
  points=$(convert "$shot" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage txt:- |
    grep -iE '#FFFFCC|#FFFBF0' | cut -d: -f1)
  rm -f "$shot"
  count=$(printf '%s\n' "$points" | grep -c , || true)
  [ "$count" -gt 0 ] || return 1
  local middle
  middle=$(printf '%s\n' "$points" | sed -n "$(((count + 1) / 2))p")
  BODY_X=$((X + ${middle%,*}))
  BODY_Y=$((Y + ${middle#*,}))
}

# Wine's stand-in notification area, moved out of the mascot's corner.
tray_window() { visible_window "Wine System Tray"; }
park_tray() {
  wait_for 20 tray_window >/dev/null || return 1
  xdotool windowmove "$(tray_window)" "$TRAY_AT_X" "$TRAY_AT_Y"
  sleep 0.3
}
tray_icon_point() { TRAY_X=$((TRAY_AT_X + 10)) TRAY_Y=$((TRAY_AT_Y + 10)); }
