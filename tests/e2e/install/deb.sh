#!/usr/bin/env bash
# The Debian package as a user gets it: install it with apt (which pulls in the
# runtime libraries it names), check what it put in place and run the program,
# then remove it and check that nothing of it is left. Changes the system, so it
# needs root (or sudo); CI runs it on a fresh Debian 12 machine.
#   tests/e2e/install/deb.sh [DIST_DIR]     (default: dist; built by scripts/package --linux)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dist=$(cd "${1:-$here/../../../dist}" && pwd)
source "$here/../../../scripts/lib/xvfb.sh"
require_tools e2e-deb "scripts/install-deps" apt-get dpkg Xvfb xdotool identify \
  desktop-file-validate appstreamcli lintian

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive

deb=$(ls "$dist"/pelmo_*_amd64.deb 2>/dev/null | sort -V | tail -n 1)
[ -n "$deb" ] || { echo "e2e-deb: no pelmo_*.deb in $dist: run scripts/package --linux" >&2; exit 2; }
if dpkg-query -W -f='${Status}' pelmo 2>/dev/null | grep -q 'install ok installed'; then
  echo "e2e-deb: pelmo is already installed here; this test would remove it, so it stops" >&2
  exit 2
fi

work=$(mktemp -d /tmp/pelmo-e2e-deb.XXXXXX)
cd "$work" || exit 2
failures=0
pelmo_pid=
cleanup() {
  [ -n "$pelmo_pid" ] && kill "$pelmo_pid" 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null
  # Never leave the package behind, whatever failed.
  dpkg-query -W pelmo >/dev/null 2>&1 && "${as_root[@]}" apt-get purge -y -qq pelmo >/dev/null 2>&1
  rm -rf "$work"
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

echo "-- $(basename "$deb") ($(stat -c %s "$deb") bytes)"
check "lintian reports no errors" lintian --fail-on error "$deb"
check "apt-get installs the package" "${as_root[@]}" apt-get install -y -qq "$deb"
dpkg-query -L pelmo | sort >"$work/files"

version=$(dpkg-query -W -f='${Version}' pelmo)
check "pelmo --version prints the package's version" \
  bash -c "[ \"\$(pelmo --version)\" = 'pelmo $version' ]"
check "pelmo --help exits 0 and shows the usage" bash -c 'pelmo --help | grep -q -- --version'
check "any other argument is one line on stderr and exit 2" bash -c '
  pelmo --bogus >out 2>err; rc=$?
  [ $rc -eq 2 ] && [ ! -s out ] && [ "$(wc -l <err)" -eq 1 ] && grep -q -- --bogus err'

check "the desktop entry validates" \
  desktop-file-validate /usr/share/applications/org.example.pelmo.desktop
check "the metainfo validates" \
  appstreamcli validate --no-net /usr/share/metainfo/org.example.pelmo.metainfo.xml
check "the icon theme has every size, each that size" bash -c '
  for n in 16 24 32 48 64 128 256; do
    f=/usr/share/icons/hicolor/${n}x${n}/apps/pelmo.png
    [ "$(identify -format %wx%h "$f")" = "${n}x${n}" ] || { echo "$f"; exit 1; }
  done'
check "the manual page renders without warnings" \
  bash -c 'LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l -Tutf8 -Z /usr/share/man/man6/pelmo.6.gz >/dev/null'
check "the licence is installed" grep -q 'Expat' /usr/share/doc/pelmo/copyright

# The installed program on a private X server: its windows appear and it keeps running.
if start_xvfb "$work"; then
  /usr/bin/pelmo >"$work/pelmo.log" 2>&1 &
  pelmo_pid=$!
  check "the installed program shows its windows and keeps running" bash -c "
    for _ in \$(seq 100); do
      xdotool search --classname pelmo >/dev/null 2>&1 && break
      sleep 0.1
    done
    xdotool search --classname pelmo >/dev/null && sleep 2 && kill -0 $pelmo_pid"
  kill "$pelmo_pid" 2>/dev/null
  wait "$pelmo_pid" 2>/dev/null
  pelmo_pid=
else
  echo "FAIL Xvfb did not start"
  failures=$((failures + 1))
fi

check "apt-get removes the package" "${as_root[@]}" apt-get purge -y -qq pelmo
check "nothing of it is left" bash -c "
  ! dpkg-query -W -f='\${Status}' pelmo 2>/dev/null | grep -q installed || exit 1
  left=0
  while read -r f; do
    # Directories shared with other packages stay; the package's own files must go.
    if [ -f \"\$f\" ] || [ -L \"\$f\" ]; then echo \"left: \$f\"; left=1; fi
  done <'$work/files'
  [ -d /usr/share/doc/pelmo ] && { echo 'left: /usr/share/doc/pelmo'; left=1; }
  exit \$left"

echo "== e2e-deb: $failures failed =="
[ "$failures" -eq 0 ]
