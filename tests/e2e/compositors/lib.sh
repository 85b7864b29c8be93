# Sourced by the compositor suites: the checks every desktop must pass, on what a
# user would see (the compositor's own screenshots) and do (a real pointer).
#
# A suite sets up its session, then defines:
#   in_session CMD...    runs CMD as the session's user with its DISPLAY (and
#                        WAYLAND_DISPLAY), in the background when it ends in &
#   screenshot FILE.ppm  what the compositor shows, as an 8-bit PPM
#   pointer STEP...      plays the pointer (steps as tests/e2e/compositors/vnc_pointer.py)
#   end_session          ends the session the way logging out does
# and sets: suite (its name), artifacts (a folder for screenshots), work (a
# scratch folder the session's user can write), pelmo (the program, runnable by
# that user), backdrop_colour (RRGGBB of the desktop behind the mascot) and
# clicks (the log the backdrop writes a line "x y button" to for each press).
# Then it calls run_checks, or those of its parts it can: check_walking,
# check_handling (needs the pointer) and check_session_end.

lib_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
shot_tool=(python3 "$lib_dir/shot.py")
failures=0
pass() { echo "ok   - $suite: $1"; }
fail() {
  echo "FAIL - $suite: $1" >&2
  failures=$((failures + 1))
  shot "failure-$failures" >/dev/null
}

# The scratch folder of a Wayland session: sets work (/tmp/pelmo-SUITE.*, which
# the session's user can write), session_mark, clicks, pelmo and as_user (the
# command prefix that runs as the session's user: as root, pelmo-e2e, made when
# missing). TOOLs, the program first, are copied there so that user can run them.
# Clears the artifacts; at exit the compositor (compositor_pid) is stopped and
# the folder removed.
prepare_session() { # TOOL...
  local tool
  for tool in "$@"; do
    [ -x "$tool" ] || {
      echo "e2e-$suite: $tool is missing; build the project first" >&2
      exit 2
    }
  done
  rm -rf "$artifacts" && mkdir -p "$artifacts"
  work=$(mktemp -d "/tmp/pelmo-$suite.XXXXXX")
  chmod 755 "$work"
  session_mark=$(basename "$work")
  cp "$@" "$work/"
  pelmo=$work/$(basename "$1")
  clicks=$work/clicks.log
  mkdir -p "$work/run" "$work/home"
  touch "$clicks"
  as_user=()
  if ((EUID == 0)); then
    id pelmo-e2e >/dev/null 2>&1 || useradd --system --no-create-home pelmo-e2e
    chown pelmo-e2e "$work" "$work/run" "$work/home" "$artifacts" "$clicks"
    as_user=(runuser -u pelmo-e2e --)
    # XWayland, started by the compositor as that user, needs the shared socket
    # directory, which only root can make on a machine where no X server ran yet.
    [ -d /tmp/.X11-unix ] || install -d -m 1777 /tmp/.X11-unix
  fi
  chmod 700 "$work/run"
  compositor_pid=
  trap end_suite EXIT
}
end_suite() {
  [ -n "$compositor_pid" ] && kill "$compositor_pid" 2>/dev/null
  # What a session that never ended leaves, such as a Wayland client whose
  # compositor was killed under it.
  session_processes | awk '{print $1}' | xargs -r kill 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}

# The suite's verdict, its last line; exits with it.
report_checks() {
  ((failures == 0)) && echo "e2e-$suite: all checks passed; screenshots in $artifacts" ||
    echo "e2e-$suite: $failures checks failed; screenshots in $artifacts" >&2
  exit $((failures > 0))
}

# Keeps a screenshot as NAME.png among the artifacts; prints the PPM's path.
shot() {
  screenshot "$work/shot.ppm" && convert "$work/shot.ppm" "$artifacts/$1.png" 2>/dev/null
  echo "$work/shot.ppm"
}

# X Y W H of the program's window of that name, if it is mapped.
geometry() {
  in_session xwininfo -name "$1" 2>/dev/null | awk '/Absolute upper-left X/ {x=$4}
    /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2}
    /Map State: IsViewable/ {v=1} END {if (v) print x, y, w, h; else exit 1}'
}
shown() { geometry "$1" >/dev/null; }

# The program's mapped windows: "X Y W H ID" per line. Its menus carry no
# plain name, so they are found by class.
mapped_windows() {
  local id
  for id in $(in_session xwininfo -root -children | awk '/\("pelmo" / {print $1}'); do
    in_session xwininfo -id "$id" | awk '/xwininfo: Window id:/ {n=$4}
      /Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2}
      /Height:/ {h=$2} /Map State: IsViewable/ {v=1} END {if (v) print x, y, w, h, n}'
  done
}

# The session's processes, found by a mark in their environment that every
# process started in the session inherits: "PID NAME" per line.
session_processes() {
  local environ pid
  for environ in /proc/[0-9]*/environ; do
    pid=${environ#/proc/}
    pid=${pid%/environ}
    { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qx "PELMO_E2E_SESSION=$session_mark" &&
      echo "$pid $(cat "/proc/$pid/comm" 2>/dev/null)"
  done
}
# Reads the whole list: a reader that stops at the first match would make the
# listing fail on a closed pipe, and pipefail would take that for "not running".
pelmo_running() { session_processes | awk '$2 == "pelmo" {found = 1} END {exit !found}'; }
pelmo_gone() { ! pelmo_running; }
start_pelmo() { # SEED
  in_session env PELMO_SEED="$1" "$pelmo" ">>$artifacts/pelmo.log" "2>&1" "&"
}

# A menu of the program is open: sets menu to its "X Y W H ID".
menu_open() {
  local form1
  form1=$(in_session xwininfo -name Form1 | awk '/Window id:/ {print $4}')
  menu=$(mapped_windows | awk -v form1="$form1" '$3 >= 80 && $3 <= 400 && $4 >= 50 &&
    $4 <= 400 && $5 != form1' | head -1)
  [ -n "$menu" ]
}

# The mascot as the user sees it: takes a screenshot while the window stands
# still, and prints the window (X Y W H) and the figures drawn on the screen
# (left top width height pixels, largest first), one per line. The pointer is
# parked in the top-right corner first, and its figure is left out.
look() { # NAME
  local before after figures
  pointer move:1279,0 >/dev/null
  for _ in $(seq 20); do
    before=$(geometry Form1) || return 1
    figures=$("${shot_tool[@]}" figures "$(shot "$1")" "$backdrop_colour")
    after=$(geometry Form1) || return 1
    if [ "$before" = "$after" ]; then
      echo "$before"
      echo "$figures" | awk '!($1 >= 1240 && $2 <= 30)'
      return 0
    fi
  done
  # A mascot that never stood still for a whole screenshot: taken as it moves.
  look_moving "$1"
}

# As look, for a mascot that never stands still: the window is where it was
# before or after the screenshot (the smallest rectangle holding both).
look_moving() { # NAME
  local before after figures
  pointer move:1279,0 >/dev/null
  before=$(geometry Form1) || return 1
  figures=$("${shot_tool[@]}" figures "$(shot "$1")" "$backdrop_colour")
  after=$(geometry Form1) || return 1
  echo "$before $after" | awk '{l = $1 < $5 ? $1 : $5; t = $2 < $6 ? $2 : $6
    r = $1 + $3 > $5 + $7 ? $1 + $3 : $5 + $7; b = $2 + $4 > $6 + $8 ? $2 + $4 : $6 + $8
    print l, t, r - l, b - t}'
  echo "$figures" | awk '!($1 >= 1240 && $2 <= 30)'
}

# The status window stands in the work area's bottom-right corner where no tray
# host runs: its figure is left out of what must be the mascot's.
# A suite whose desktop has a bar at the bottom sets bar_top to where it begins.
status_corner() { awk -v bar="${bar_top:-800}" '!($1 >= 1200 && $2 >= 720) && $2 < bar'; }

# The walk may take the mascot down behind a bar at the bottom, which the X
# server does not know of: nothing of it is then drawn, and nothing is wrong.
behind_the_bar() { # OUTPUT-OF-look
  local wy wh
  [ -n "${bar_top:-}" ] || return 1
  read -r _ wy _ wh < <(echo "$1" | head -1)
  ((wy + wh > bar_top)) && [ -z "$(echo "$1" | tail -n +2 | status_corner)" ]
}

# Every figure drawn lies within the mascot's window: no black or white stage,
# no trail of earlier frames, nothing left over.
only_the_mascot() { # OUTPUT-OF-look
  local wx wy ww wh
  read -r wx wy ww wh < <(echo "$1" | head -1)
  echo "$1" | tail -n +2 | status_corner | awk -v x="$wx" -v y="$wy" -v w="$ww" -v h="$wh" '
    {n++; if ($1 < x || $2 < y || $1 + $3 > x + w || $2 + $4 > y + h) bad++}
    END {exit !(n >= 1 && !bad)}'
}

# The compositor may show the rising angel a few ticks behind its window: lower
# (it rises 8 px a tick) and to either side (it sways up to 10 px a tick).
# Widens the window of a look's output by that much.
ticks_behind() { # OUTPUT-OF-look TICKS
  echo "$1" | awk -v n="$2" 'NR == 1 {print $1 - 10 * n, $2, $3 + 20 * n, $4 + 8 * n; next} {print}'
}

run_checks() {
  check_walking
  check_handling
  check_session_end
}

# The walking mascot: placed exactly, nothing behind it.
check_walking() {
  local seen
  start_pelmo 964
  if wait_for 20 shown Form1; then
    sleep 1
    seen=$(look walking-1)
    if only_the_mascot "$seen"; then
      pass "the mascot appears, drawn inside its window ($(echo "$seen" | head -1))"
    else
      fail "the mascot is not drawn inside its window: $(echo "$seen" | tr '\n' ';')"
    fi
    local clean=1 blue=0 frame
    for frame in 2 3 4 5 6 7 8; do
      sleep 0.7
      seen=$(look "walking-$frame") || continue
      behind_the_bar "$seen" && continue
      only_the_mascot "$seen" || clean=0
      blue=$((blue + $("${shot_tool[@]}" count "$work/shot.ppm" 0000ff)))
    done
    ((clean)) && pass "the walking mascot leaves no black, white or trail behind it" ||
      fail "something besides the mascot is drawn while it walks (see walking-*.png)"
    ((blue == 0)) && pass "no key blue is ever drawn" || fail "$blue key-blue pixels drawn"
  else
    fail "no mascot window appeared"
  fi
  session_processes | awk '$2 == "pelmo" {print $1}' | xargs -r kill
  wait_for 5 pelmo_gone
}

# A mascot that stays put: clicks, drag, menu, and the departure.
check_handling() {
  local seen px py
  # Seed 70219: the first 38 s of idle decisions all keep the mascot where it is.
  start_pelmo 70219
  wait_for 20 shown Form1 || fail "no mascot window appeared the second time"
  sleep 1
  read -r wx wy ww wh < <(geometry Form1)
  # A press on the middle of the body, a quick move far away, a wait, a release.
  px=$((wx + ww / 2)) py=$((wy + wh * 3 / 5))
  local tx=$((px + 420)) ty=$((py + 260))
  pointer move:$px,$py down wait:0.4 move:$((px + 60)),$((py + 40)) move:$tx,$ty wait:4 up \
    >/dev/null
  sleep 0.5
  read -r nx ny _ _ < <(geometry Form1)
  local dx=$((nx + (px - wx) - tx)) dy=$((ny + (py - wy) - ty))
  ((dx * dx + dy * dy < 60 * 60)) &&
    pass "a press-and-drag carries the mascot to the pointer ($wx,$wy to $nx,$ny)" ||
    fail "the dragged mascot stopped at $nx,$ny, not under the pointer at $tx,$ty"
  seen=$(look dragged)
  only_the_mascot "$seen" && pass "nothing is left behind after the drag" ||
    fail "something besides the mascot is drawn after the drag: $(echo "$seen" | tr '\n' ';')"
  # Where the frame is key blue, a click must reach the desktop: here just beside
  # the figure, in the frame's blue margin. (XWayland before 23.1 does not pass the
  # input shape on to a Wayland compositor, so blue between the figure's limbs
  # takes the click there; X compositing managers follow the shape itself.)
  read -r wx wy ww wh < <(geometry Form1)
  local bx by
  : >"$clicks"
  pointer move:1279,0 >/dev/null
  if read -r bx by < <("${shot_tool[@]}" clear "$(shot blue)" $((wx - 14)) "$wy" 12 "$wh" \
    "$backdrop_colour"); then
    pointer move:$bx,$by click:1 >/dev/null
    wait_for 5 grep -q "^$bx $by 1\$" "$clicks" &&
      pass "a click on the mascot's blue reaches the window below" ||
      fail "a click on blue at $bx,$by did not reach the window below ($(tr '\n' ';' <"$clicks"))"
  else
    fail "no see-through blue in the mascot's window at $wx,$wy"
  fi
  : >"$clicks"
  pointer move:40,40 click:1 >/dev/null
  wait_for 5 grep -q "^40 40 1\$" "$clicks" &&
    pass "once let go, the mascot no longer takes clicks elsewhere" ||
    fail "a click at 40,40 after the drag did not reach the desktop"

  # Up against the left edge: the window stands partly off the screen.
  px=$((wx + ww / 2)) py=$((wy + wh * 3 / 5))
  pointer move:$px,$py down wait:0.4 move:5,$py wait:7 up >/dev/null
  sleep 0.5
  seen=$(look left-edge)
  read -r wx wy ww wh < <(echo "$seen" | head -1)
  if ((wx < 0)) && only_the_mascot "$seen"; then
    pass "a mascot partly off the left edge is drawn where its window is ($wx,$wy)"
  else
    fail "off the left edge: window at $wx,$wy, drawn $(echo "$seen" | tail -n +2 | tr '\n' ';')"
  fi
  pointer move:$((wx + ww - 40)),$((wy + wh * 3 / 5)) down wait:0.4 move:600,400 wait:7 up \
    >/dev/null
  sleep 0.5

  # The menu: Japanese captions drawn in a window of their own.
  read -r wx wy ww wh < <(geometry Form1)
  pointer move:$((wx + ww / 2)),$((wy + wh * 3 / 5)) click:3 >/dev/null
  if wait_for 5 menu_open; then
    sleep 0.5
    local mx my mw mh ink
    read -r mx my mw mh _ <<<"$menu"
    ink=$("${shot_tool[@]}" ink "$(shot menu)" "$mx" "$my" "$mw" "$mh")
    ((ink > 200)) && pass "a right-click opens the menu with its captions drawn ($ink ink pixels)" ||
      fail "the menu at $menu shows no captions ($ink ink pixels)"
  else
    fail "a right-click on the mascot opened no menu"
  fi
  # A click beside the open menu closes it, whatever window lies below.
  pointer move:900,100 click:1 >/dev/null
  menu_closed() { ! menu_open; }
  wait_for 3 menu_closed && pass "a click beside the open menu closes it" ||
    fail "the menu stayed open after a click beside it"
  sleep 0.5

  # --- the departure: up and off the top of the screen, then the end ------------
  read -r wx wy ww wh < <(geometry Form1)
  pointer move:$((wx + ww / 2)),$((wy + wh * 3 / 5)) double >/dev/null
  local above=0 frame
  seen="none"
  for frame in $(seq 120); do
    sleep 0.25
    read -r wx wy ww wh < <(geometry Form1) || break
    if ((wy < 0 && wy + wh > 30)); then
      seen=$(look_moving departure) || break
      # Drawn where its window stands, partly above the screen, allowing the
      # compositor's picture three ticks' lag; tried again while it crosses.
      if only_the_mascot "$(ticks_behind "$seen" 3)"; then
        above=1
        break
      fi
    fi
  done
  ((above)) && pass "the departing angel is drawn where its window is, above the screen's top" ||
    fail "the departure was not seen crossing the top of the screen (last look: $(echo "$seen" | tr '\n' ';'))"
  wait_for 30 pelmo_gone
  pelmo_running && fail "the program did not end after the departure" ||
    pass "the program ends after the departure"
}

# The session ends: so does the program, and nothing of ours stays.
check_session_end() {
  start_pelmo 70219
  wait_for 20 shown Form1 || fail "no mascot window appeared the third time"
  end_session
  wait_for 10 pelmo_gone && pass "the program ends when the session ends" ||
    fail "the program outlived the session"
  sleep 1
  local orphans
  orphans=$(session_processes | tr '\n' ';')
  [ -z "$orphans" ] && pass "no process of the session is left over" ||
    fail "processes outlived the session: $orphans"
}
