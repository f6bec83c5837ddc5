#!/usr/bin/env bash
# How fast the window answers a key while a log window shows a line of 40 MB: the line is appended to a
# followed log, and once its row is on the screen Ctrl+Tab switches between the two log windows; the
# time until the main window's title names the other one is printed, ten times. A real run on a virtual X server, like the end-to-end tests.
# Usage: bench/long_line_window.sh [PROGRAM]   (default: the build's kestrano); LONG_LINE_SCREENSHOT=FILE
# keeps a picture of the window before the keys.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ -n "${KESTRANO_E2E_SERVER:-}" ] || set -- "$(realpath "${1:-$root/build/shell/kestrano}")"
source "$root/tests/e2e/e2e.sh" "$@"

logs=$e2e_home/logs
mkdir -p "$logs"
printf 'info: a short log\n' > "$logs/other.log"
printf 'info: before the long line\n' > "$logs/long.log"
e2e_start "$logs/other.log" "$logs/long.log"
e2e_wait_title "Kestrano - long.log"
# 40 MB of one line, then a line end and a fatal line, which brings its window up once read.
head -c 40000000 /dev/zero | tr '\0' 'x' >> "$logs/long.log"
printf ' end of the long line\nfatal: after it\n' >> "$logs/long.log"
xdotool windowfocus --sync "$e2e_window" key ctrl+Tab
E2E_WAIT=60 e2e_wait_title "Kestrano - other.log"
printf 'fatal: again\n' >> "$logs/long.log"
E2E_WAIT=60 e2e_wait_title "Kestrano - long.log"
sleep 1
[ -z "${LONG_LINE_SCREENSHOT:-}" ] || e2e_screenshot "$LONG_LINE_SCREENSHOT"
# Ctrl+Tab activates the other log window, which the main window's title names.
waited_for() {
    local start=$1 name=$2
    while [ "$(xdotool getwindowname "$e2e_window")" != "Kestrano - $name" ]; do
        [ $(($(date +%s%N) - start)) -lt 20000000000 ] || e2e_fail "no answer to Ctrl+Tab"
    done
    echo $((($(date +%s%N) - start) / 1000000))
}
# The program's own processor time (clock ticks of /proc/PID/stat), which the machine's load leaves alone.
ticks() { awk '{ print $14 + $15 }' "/proc/$e2e_pid/stat"; }
ticks_before=$(ticks)
for round in 1 2 3 4 5; do
    for name in other.log long.log; do
        start=$(date +%s%N)
        xdotool key --window "$e2e_window" ctrl+Tab
        echo "round $round: Ctrl+Tab to $name answered in $(waited_for "$start" "$name") ms with a 40 MB line on screen"
    done
done
echo "processor time of the program for the 10 switches: $((($(ticks) - ticks_before) * 1000 / $(getconf CLK_TCK))) ms"
rss=$(awk '/VmHWM/ { print $2 }' "/proc/$e2e_pid/status")
echo "peak memory of the program: $rss KiB"
e2e_quit
