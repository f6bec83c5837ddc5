#!/usr/bin/env bash
# Configures and builds Kestrano with warnings as errors; prints the build folder last.
# Usage: scripts/build.sh [--sanitize | --release]
#   (default build/, RelWithDebInfo; --sanitize build-asan/ with AddressSanitizer and UBSan;
#    --release build-release/, Release as users and packagers build, tests and benchmarks included)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" >&2

case "${1:-}" in
  --sanitize)
    build="$root/build-asan"
    extra=(-DKESTRANO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug) ;;
  --release)
    build="$root/build-release"
    extra=(-DCMAKE_BUILD_TYPE=Release) ;;
  "")
    build="$root/build"
    extra=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  *)
    echo "usage: scripts/build.sh [--sanitize | --release]" >&2
    exit 2 ;;
esac
cmake -S "$root" -B "$build" -G Ninja -DKESTRANO_WERROR=ON "${extra[@]}" >&2
cmake --build "$build" -j "$(nproc)" >&2
echo "$build"
