#!/usr/bin/env bash
# Builds Kestrano and starts it; arguments are passed on (log files to open, /log LEVEL).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$("$root/scripts/build.sh")
exec "$build/shell/kestrano" "$@"
