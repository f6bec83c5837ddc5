#!/usr/bin/env bash
# Builds one libFuzzer target with clang and runs it. Usage: scripts/fuzz.sh NAME [seconds]
# (NAME as in fuzz/corpus/NAME, e.g. config_parse or line_cutter; 60 seconds by default).
# New inputs go to build-fuzz/corpus/NAME; the seeds in the tree stay as they are.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
name=${1:?usage: scripts/fuzz.sh NAME [seconds]}
seconds=${2:-60}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKESTRANO_BUILD_FUZZ=ON -DKESTRANO_BUILD_TESTS=OFF -DKESTRANO_BUILD_BENCH=OFF >&2
cmake --build "$build" --target "${name}_fuzz" -j 2 >&2
mkdir -p "$build/corpus/$name"
"$build/fuzz/${name}_fuzz" -max_total_time="$seconds" "$build/corpus/$name" "$root/fuzz/corpus/$name"
