#!/bin/sh
# Regenerates the storyboards in docs/storyboards: for every NAME.scenario there,
# an animation NAME.gif and a sheet of eight key frames NAME-frames.png.
# A scenario's "# options:" line adds pelmo-sim options (--shrink, --every, --crop), and
# its "# key ticks:" line chooses the key frames (else eight spread over the episode).
# Usage: tools/make-storyboards.sh [BUILD_DIR]   (default: build; needs pelmo-sim built,
# and ImageMagick's montage for the key frames).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
sim=${1:-"$root/build"}/tools/pelmo-sim
dir="$root/docs/storyboards"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for scenario in "$dir"/*.scenario; do
  name=$(basename "$scenario" .scenario)
  options=$(sed -n 's/^# options://p' "$scenario")
  # shellcheck disable=SC2086  # the options are words on purpose
  "$sim" --gif "$dir/$name.gif" --storyboard "$work/$name" --crop action $options \
    <"$scenario" >/dev/null
  set -- "$work/$name"/tick-*.png
  count=$#
  keys=$(sed -n 's/^# key ticks://p' "$scenario")
  if [ -n "$keys" ]; then
    frames=$(for t in $keys; do printf '%s/tick-%06d.png\n' "$work/$name" "$t"; done)
  else
    # Eight frames spread evenly over the episode, the last one included.
    frames=$(ls "$work/$name"/tick-*.png | awk -v n="$count" \
      '{ f[NR] = $0 } END { for (k = 0; k < 8; k++) print f[1 + int(k * (n - 1) / 7)] }' | uniq)
  fi
  # shellcheck disable=SC2086
  montage $frames -tile 4x -geometry +2+2 -background white "$dir/$name-frames.png"
  echo "$name: $count frames, $(du -k "$dir/$name.gif" | cut -f1) KiB gif"
done
