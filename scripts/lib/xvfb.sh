# Sourced by the scripts that need a private X server: the end-to-end suites and
# the desktop measurement.

# require_tools WHO HINT TOOL...: exits with 2, naming the first missing tool.
require_tools() {
  local who=$1 hint=$2 tool
  shift 2
  for tool in "$@"; do
    command -v "$tool" >/dev/null || {
      echo "$who: $tool is missing ($hint)" >&2
      exit 2
    }
  done
}

# start_xvfb WORKDIR [WIDTHxHEIGHT]: starts an Xvfb of that size (1280x800 unless
# given) on the first free display, which it reports through -displayfd, and
# exports DISPLAY; XVFB_PID is the server. Fails when the server has not
# reported itself within 10 s.
start_xvfb() {
  local fd_file=$1/display size=${2:-1280x800} fd _
  exec {fd}>"$fd_file"
  Xvfb -displayfd "$fd" -screen 0 "${size}x24" -nolisten tcp -noreset >"$1/xvfb.log" 2>&1 &
  XVFB_PID=$!
  exec {fd}>&-
  for _ in $(seq 100); do
    if [ -s "$fd_file" ]; then
      export DISPLAY=:$(tr -d '\n' <"$fd_file")
      return 0
    fi
    sleep 0.1
  done
  return 1
}
