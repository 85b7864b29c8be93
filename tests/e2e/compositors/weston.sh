#!/usr/bin/env bash
# The Linux program on weston, the reference Wayland compositor, through
# XWayland: headless, on a plain background, what is shown read from
# weston-screenshooter. Weston offers a headless session no pointer to play, so
# this suite only looks: the walking mascot and the end of the session.
#
#   tests/e2e/compositors/weston.sh BUILD_DIR
#
# As root the session runs as the user pelmo-e2e, made here when missing.
# Screenshots are kept in BUILD_DIR/e2e-weston.
set -uo pipefail

build=$(cd "${1:?usage: weston.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
suite=weston
artifacts=$build/e2e-weston
backdrop_colour=336633
source "$here/../../../scripts/lib/xvfb.sh"
require_tools e2e-weston "scripts/install-deps installs the test packages" weston \
  weston-screenshooter xwininfo convert python3 Xwayland
source "$here/lib.sh"
prepare_session "$build/app/pelmo"
"${as_user[@]}" mkdir "$work/shots"

cat >"$work/weston.ini" <<INI
[shell]
background-color=0xff$backdrop_colour
panel-position=none
INI
session_env=(env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
  PELMO_E2E_SESSION="$session_mark" LANG=C.UTF-8 WAYLAND_DISPLAY=pelmo-e2e)
"${as_user[@]}" "${session_env[@]}" weston --config="$work/weston.ini" --socket=pelmo-e2e \
  --backend=headless-backend.so --width=1280 --height=800 --use-pixman --xwayland --debug \
  >"$work/weston.log" 2>&1 &
compositor_pid=$!
display_named() { grep -oE 'xserver listening on display :[0-9]+' "$work/weston.log"; }
if ! wait_for 15 display_named; then
  echo "e2e-weston: skipped: weston with XWayland did not start here ($(tail -1 "$work/weston.log"))" >&2
  exit 0
fi
display=$(display_named | grep -oE ':[0-9]+$')

in_session() {
  local command="$*"
  if [ "${command: -1}" = "&" ]; then
    "${as_user[@]}" "${session_env[@]}" DISPLAY="$display" bash -c "${command%&}" &
  else
    "${as_user[@]}" "${session_env[@]}" DISPLAY="$display" "$@"
  fi
}
screenshot() {
  rm -f "$work"/shots/*.png
  (cd "$work/shots" && in_session weston-screenshooter) >/dev/null 2>&1 &&
    convert "$work"/shots/*.png -depth 8 "$1"
}
# The pointer stays where it is; the screenshots show none.
pointer() { :; }
end_session() { kill "$compositor_pid"; wait "$compositor_pid" 2>/dev/null; compositor_pid=; }

echo "e2e-weston: $(weston --version), XWayland display $display"
check_walking
check_session_end
report_checks
