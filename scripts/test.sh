#!/usr/bin/env bash
# Builds Kestrano and runs every test. Usage: scripts/test.sh [--sanitize]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$("$root/scripts/build.sh" "$@")
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
