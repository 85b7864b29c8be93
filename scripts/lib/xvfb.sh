# Sourced by the scripts that need a private X server: the end-to-end suites and
# the desktop measurements.

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

# private_session PREFIX: sets work to a new scratch folder /tmp/PREFIX.XXXXXX
# holding home/ and run/ (private, as an XDG_RUNTIME_DIR must be), and pids to an
# empty list, to which the script adds each process it starts for the session.
# At exit those are ended, the last started first (the X server last, after what
# runs on it), and the folder removed.
private_session() {
  work=$(mktemp -d "/tmp/$1.XXXXXX")
  mkdir -p "$work/home" "$work/run" && chmod 700 "$work/run"
  pids=()
  trap end_private_session EXIT
}
end_private_session() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}

# wait_for SECONDS COMMAND...: runs the command, quietly, until it succeeds;
# fails once SECONDS have passed.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS >= deadline)) && return 1
    sleep 0.05
  done
}
