#!/usr/bin/env bash
# The Windows build under Wine: the cross-compiled unit tests, then pelmo.exe
# itself on a virtual X desktop (Xvfb) over a coloured backdrop.
#   tests/e2e/wine/run.sh [BUILD_DIR]      (default: build-windows)
# WINE_SUITES=unit, desktop or scaled (200 %, on a 2560x1600 desktop) runs only
# that part; a list runs several.
# Needs: wine, xvfb, xdotool, x11-utils (xev), x11-xserver-utils (xsetroot),
# imagemagick, fonts-ipafont-gothic. Leaves screenshots in BUILD_DIR/e2e-wine.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../../build-windows}" && pwd)
source "$here/../../../scripts/lib/xvfb.sh"
source "$here/prefix.sh"
source "$here/desktop.sh"
source "$here/scenarios.sh"

work=$build/e2e-wine
rm -rf "$work"
mkdir -p "$work/home"
# Whatever the program plays goes to a file instead of a sound card.
cat >"$work/home/.asoundrc" <<ASOUND
pcm.!default {
  type file
  slave.pcm "null"
  file "$work/sound.raw"
  format "raw"
}
ASOUND

failures=0
# The prefix is kept between runs: the desktop's DPI goes back to its default.
reset_dpi() { wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1; }
cleanup() {
  stop_pelmo
  stop_desktop
  [ -n "${WINEPREFIX:-}" ] && reset_dpi
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
}
trap cleanup EXIT

[ -x "$build/pelmo.exe" ] || { echo "no $build/pelmo.exe: run scripts/build-windows" >&2; exit 2; }
prepare_prefix "$build/wineprefix"

suites=${WINE_SUITES:-unit desktop scaled}
if [[ $suites == *unit* ]]; then
  echo "== Unit tests under Wine =="
  while IFS= read -r exe; do
    name=$(basename "$exe" .exe)
    # The soak runs a tenth as long here: the same paths, and every Wine start is slow enough.
    if PELMO_SOAK_TICKS=1000000 timeout 600 wine "$exe" --gtest_brief=1 >"$work/$name.log" 2>&1; then
      echo "PASS $name"
    else
      echo "FAIL $name"
      tail -n 30 "$work/$name.log"
      failures=$((failures + 1))
    fi
  done < <(find "$build/tests" -name '*.exe' | sort)
fi

if [[ $suites == *desktop* ]]; then
  echo "== pelmo.exe on a virtual desktop =="
  start_desktop "$work" || {
    echo "e2e-wine: Xvfb did not start" >&2
    exit 2
  }
  for scenario in pointer_and_sound menus_and_tray double_click_departs; do
    run_scenario "$scenario"
  done
  stop_desktop
fi

if [[ $suites == *scaled* ]]; then
  echo "== pelmo.exe at 200 % (LogPixels 192) on a 2560x1600 desktop =="
  start_desktop "$work" 2560x1600 || {
    echo "e2e-wine: Xvfb did not start" >&2
    exit 2
  }
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null
  run_scenario scaled_mascot
  reset_dpi
  stop_desktop
fi

echo "== $failures failed =="
[ "$failures" -eq 0 ]
