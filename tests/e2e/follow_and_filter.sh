#!/usr/bin/env bash
# Two logs followed while they are written: an error appended to the log in the background puts its
# window on top without activating it (the main window's title still names the other log); Ctrl+F6
# activates it, and the E key then filters that window to errors, so its information rows leave the
# screen, and the filter is stored as its "MinimumSeverity"; Alt+X ends the program with status 0.
# Usage: follow_and_filter.sh PROGRAM
source "$(dirname "$0")/e2e.sh" "$@"

logs=$e2e_home/logs
mkdir -p "$logs"
printf 'service starting\ninfo: listening on port 8080\n' > "$logs/app.log"
printf 'debug: cache warm\n' > "$logs/worker.log"

e2e_start "$logs/app.log" "$logs/worker.log"
# The log opened last is the active one.
e2e_wait_title "Kestrano - worker.log"

printf 'info: request served\ndisk error on /dev/sdb\n  at block 7\n' >> "$logs/app.log"
sleep 2 # a poll or two
e2e_wait_title "Kestrano - worker.log"
e2e_keys ctrl+F6
e2e_wait_title "Kestrano - app.log"

# The blue of the information icon: two rows and the window's filter button show it.
information=(31 95 209)
before=$(e2e_settled_pixels "${information[@]}")
e2e_keys e
fewer() { [ "$(e2e_pixels "${information[@]}")" -lt "$before" ]; }
e2e_until fewer || e2e_fail "the information rows are still shown after E ($before pixels of their icon)"
e2e_quit

e2e_expect_config 3 MinimumSeverity Workspace "$logs/app.log"
[ -z "$(e2e_config_value MinimumSeverity Workspace "$logs/worker.log")" ] \
    || e2e_expect_config 0 MinimumSeverity Workspace "$logs/worker.log"
echo "follow and filter: the error raised its window without activating it, the filter was stored"
