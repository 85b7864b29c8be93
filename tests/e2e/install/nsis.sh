#!/usr/bin/env bash
# The Windows installer under Wine, the round trip a user makes: a silent
# per-user install (/S, with the start-with-Windows box ticked by /AUTOSTART),
# the installed program run from where the installer put it, the silent
# uninstall, and a check that every file and registry value it wrote is gone.
#   tests/e2e/install/nsis.sh [BUILD_DIR]   (default: build-windows; the
#   installer is BUILD_DIR/dist/pelmo-*-setup.exe, from the target pelmo_release)
# Uses the Wine suite's prefix, BUILD_DIR/wineprefix, and compares it before and after.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../../build-windows}" && pwd)
source "$here/../../../scripts/lib/xvfb.sh"
source "$here/../wine/prefix.sh"
require_tools e2e-nsis "scripts/install-deps" wine wineserver Xvfb xdotool

setup=$(ls "$build"/dist/pelmo-*-setup.exe 2>/dev/null | sort -V | tail -n 1)
[ -n "$setup" ] || {
  echo "e2e-nsis: no installer in $build/dist: cmake --build $build --target pelmo_release" >&2
  exit 2
}
version=$(basename "$setup" | sed 's/^pelmo-\(.*\)-setup\.exe$/\1/')

work=$build/e2e-install
rm -rf "$work"
mkdir -p "$work"
failures=0
pelmo_pid=
cleanup() {
  [ -n "$pelmo_pid" ] && kill "$pelmo_pid" 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
}
trap cleanup EXIT

check() {  # check NAME COMMAND...: runs the command, reports PASS or FAIL
  local name=$1
  shift
  if "$@" >"$work/out" 2>&1; then
    echo "PASS $name"
  else
    echo "FAIL $name"
    sed 's/^/    /' "$work/out" | tail -n 20
    failures=$((failures + 1))
  fi
}

wait_for() {  # wait_for SECONDS COMMAND...
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.2
  done
}

prepare_prefix "$build/wineprefix"
start_xvfb "$work" || { echo "e2e-nsis: Xvfb did not start" >&2; exit 2; }

run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelmo'
# What the user's part of the prefix holds: every file and directory outside the Windows
# folder, and the registry values under the two keys the installer writes to.
snapshot() {
  (cd "$WINEPREFIX/drive_c" && find . -path ./windows -prune -o -print | sort)
  wine reg query "$run_key" 2>/dev/null | tr -d '\r' | grep -i pelmo
  wine reg query "$uninstall_key" 2>/dev/null | tr -d '\r'
}
snapshot >"$work/before"

echo "-- $(basename "$setup") ($(stat -c %s "$setup") bytes)"
check "the installer runs silently without admin rights" timeout 120 wine "$setup" /S /AUTOSTART
dir_win=$(wine reg query "$uninstall_key" /v InstallLocation 2>/dev/null | tr -d '\r' |
  sed -n 's/.*REG_SZ *//p')
dir=$(winepath -u "$dir_win" 2>/dev/null)
check "it installed under the user's own programs folder" bash -c "
  case '$dir_win' in *\\\\AppData\\\\Local\\\\Programs\\\\Pelmo) ;; *) echo '$dir_win'; exit 1;; esac
  for f in pelmo.exe LICENSE.txt README.txt uninstall.exe; do [ -f '$dir'/\$f ] || exit 1; done"
check "it added a Start-menu entry" bash -c "
  find '$WINEPREFIX/drive_c/users' -path '*Start Menu/Programs/Pelmo.lnk' | grep -q ."
check "it registered the uninstaller with the version" bash -c "
  wine reg query '$uninstall_key' /v DisplayVersion | tr -d '\r' | grep -q 'REG_SZ *$version\$'"
check "the ticked box starts Pelmo with Windows" bash -c "
  wine reg query '$run_key' /v Pelmo | tr -d '\r' | grep -qi 'AppData.Local.Programs.Pelmo.pelmo\.exe'"

check "the installed pelmo.exe --version prints $version" bash -c "
  [ \"\$(timeout 60 wine '$dir/pelmo.exe' --version | tr -d '\r')\" = 'pelmo $version' ]"
check "--help exits 0, any other argument exits 2 with one line" bash -c "
  timeout 60 wine '$dir/pelmo.exe' --help | grep -q -- --version || exit 1
  timeout 60 wine '$dir/pelmo.exe' --bogus 2>'$work/err'; rc=\$?
  [ \$rc -eq 2 ] && [ \$(wc -l <'$work/err') -eq 1 ] && grep -q -- --bogus '$work/err'"
timeout 120 wine "$dir/pelmo.exe" >"$work/pelmo.log" 2>&1 &
pelmo_pid=$!
shown() { xdotool search --onlyvisible --classname pelmo.exe >/dev/null 2>&1; }
check "the installed program shows its windows and keeps running" bash -c "
  $(declare -f wait_for shown); wait_for 60 shown && sleep 2 && kill -0 $pelmo_pid"
kill "$pelmo_pid" 2>/dev/null
wait "$pelmo_pid" 2>/dev/null
pelmo_pid=

# The uninstaller copies itself to a temporary folder and runs from there, so the command
# returns at once; the removal is over when the installation folder is gone.
check "the uninstaller runs silently" timeout 60 wine "$dir/uninstall.exe" /S
check "the uninstaller removed the installation folder" wait_for 60 test ! -e "$dir"
# The uninstaller runs from a copy of itself in the temporary folder, which a command it
# leaves behind removes some seconds after it has ended.
as_before() {
  snapshot >"$work/after"
  cmp -s "$work/before" "$work/after"
}
start=$SECONDS
wait_for 60 as_before
echo "-- the prefix was as before $((SECONDS - start)) s after the uninstall"
check "nothing it wrote is left, in files or registry" diff "$work/before" "$work/after"

echo "== e2e-nsis: $failures failed =="
[ "$failures" -eq 0 ]
