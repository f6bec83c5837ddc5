#!/usr/bin/env bash
# The program as a package installed it: started with two logs on a virtual X server, it follows them
# (an error puts its log on top; Ctrl+F6 activates it), opens the file dialog, and ends with Alt+X. Writes every shared library the running program had loaded to LIBRARIES.
# Usage: packaged.sh PROGRAM LIBRARIES   (run by scripts/package-test.sh)
source "$(dirname "$0")/e2e.sh" "$@"

libraries=$2
logs=$e2e_home/logs
mkdir -p "$logs"
printf 'started\n' > "$logs/first.log"
printf 'started\n' > "$logs/second.log"
e2e_start "$logs/first.log" "$logs/second.log"
e2e_wait_title "Kestrano - second.log"
printf 'fatal: from the package\n' >> "$logs/first.log"
# The error puts its window on top, activating nothing; Ctrl+F6 activates it.
e2e_keys ctrl+F6
e2e_wait_title "Kestrano - first.log"
e2e_keys ctrl+o
e2e_wait_title "Open"
awk '$6 ~ /\.so/ { print $6 }' "/proc/$e2e_pid/maps" | sort -u > "$libraries"
e2e_close_dialog "Open"
e2e_wait_title "Kestrano - first.log"
e2e_quit
echo "packaged: started, followed the logs, ended"
