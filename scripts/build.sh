#!/usr/bin/env bash
# Configures and builds Kestrano. Usage: scripts/build.sh [--sanitize] ; prints the build folder last.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" >&2

build="$root/build"
extra=()
if [ "${1:-}" = "--sanitize" ]; then
  build="$root/build-asan"
  extra=(-DKESTRANO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
else
  extra=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi
cmake -S "$root" -B "$build" -G Ninja "${extra[@]}" >&2
cmake --build "$build" -j "$(nproc)" >&2
echo "$build"
