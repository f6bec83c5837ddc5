#!/usr/bin/env bash
# Builds the configuration parser's libFuzzer target with clang and runs it.
# Usage: scripts/fuzz.sh [seconds] ; new inputs go to build-fuzz/corpus, the seeds stay as they are.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
seconds=${1:-60}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKESTRANO_BUILD_FUZZ=ON -DKESTRANO_BUILD_TESTS=OFF -DKESTRANO_BUILD_BENCH=OFF >&2
cmake --build "$build" --target config_parse_fuzzer -j 2 >&2
mkdir -p "$build/corpus"
"$build/fuzz/config_parse_fuzzer" -max_total_time="$seconds" -max_len=4096 \
  "$build/corpus" "$root/fuzz/corpus/config_parse"
