#!/usr/bin/env bash
# Builds Kestrano and starts it; arguments are passed on (log files to open, /log LEVEL).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$("$root/scripts/build.sh")
if [ ! -x "$build/shell/kestrano" ]; then
  echo "The desktop program is not built yet; the libraries and tests are." >&2
  exit 0
fi
exec "$build/shell/kestrano" "$@"
