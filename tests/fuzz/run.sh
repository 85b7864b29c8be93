#!/bin/sh
# Fuzzes the BMP decoder for a bounded time with clang's libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer, starting from the seed pictures in corpus/.
# Usage: tests/fuzz/run.sh [BUILD_DIR] [SECONDS]   (defaults: build-fuzz, 20)
# Needs clang and libFuzzer (Debian: clang, libclang-rt-14-dev).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-"$root/build-fuzz"}
seconds=${2:-20}

mkdir -p "$build/corpus"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Wall -Wextra -Werror -I"$root" \
  "$here/bmp_fuzz.cpp" "$root/ui/bmp.cpp" -o "$build/bmp_fuzz"

# New inputs go to the build directory; the seeds in the tree stay as they are.
"$build/bmp_fuzz" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 "$build/corpus" "$here/corpus"
