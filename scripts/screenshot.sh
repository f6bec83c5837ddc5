#!/usr/bin/env bash
# Makes the README's screenshot from a real run on a virtual X server: Kestrano following two logs
# while they are written, side by side, one of them filtered to warnings and higher.
# Usage: scripts/screenshot.sh [PROGRAM [OUTPUT]]   (default: the build's kestrano, docs/screenshot.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${KESTRANO_SCREENSHOT:-}" ]; then
    program=${1:-}
    [ -n "$program" ] || program=$("$root/scripts/build.sh")/shell/kestrano
    KESTRANO_SCREENSHOT=$(realpath -m "${2:-$root/docs/screenshot.png}")
    export KESTRANO_SCREENSHOT
    exec bash "$0" "$(realpath "$program")"
fi
# From here on a run of its own on the virtual X server, as an end-to-end test is.
source "$root/tests/e2e/e2e.sh" "$@"
output=$KESTRANO_SCREENSHOT

logs=$e2e_home/logs
mkdir -p "$logs"
cat > "$logs/orders.log" <<'LOG'
2026-12-07 09:14:02 info  orders: service starting, version 4.2.1
2026-12-07 09:14:02 debug orders: pool of 8 workers ready
2026-12-07 09:14:03 notice orders: listening on 0.0.0.0:8443
2026-12-07 09:15:40 warn  orders: slow reply from stock service (1840 ms)
2026-12-07 09:15:41 info  orders: order 10443 accepted
LOG
cat > "$logs/billing.log" <<'LOG'
2026-12-07 09:14:05 info  billing: connected to ledger
2026-12-07 09:14:05 debug billing: 3 invoices queued
2026-12-07 09:15:12 warn  billing: retrying invoice 8812 (timeout)
2026-12-07 09:15:13 info  billing: invoice 8812 sent
LOG

e2e_start "$logs/orders.log" "$logs/billing.log"
e2e_wait_title "Kestrano - billing.log"
xdotool windowmove --sync "$e2e_window" 0 0 windowsize --sync "$e2e_window" 1000 520
# billing.log (active: opened last) shows warnings and higher; then the windows side by side.
e2e_keys w
e2e_keys alt+w t

cat >> "$logs/orders.log" <<'LOG'
2026-12-07 09:16:05 error orders: payment gateway refused order 10444
    reason: card expired
    retry: no
2026-12-07 09:16:06 info  orders: order 10445 accepted
LOG
cat >> "$logs/billing.log" <<'LOG'
2026-12-07 09:16:07 info  billing: invoice 8813 sent
2026-12-07 09:16:09 fatal billing: ledger connection lost, stopping
LOG
# The error raises orders.log, the fatal then billing.log.
e2e_wait_title "Kestrano - billing.log"
sleep 1.5   # one more polling pass, so both lists are painted
xdotool mousemove 1023 767
e2e_screenshot "$output"
e2e_quit
echo "wrote $output"
