#!/usr/bin/env bash
# The workspace comes back: a log filtered in one run is open again, with its filter, when the program
# starts without arguments; a termination signal ends that run as Exit does, so the workspace is saved.
# Usage: workspace_restart.sh PROGRAM
source "$(dirname "$0")/e2e.sh" "$@"

log=$e2e_home/service.log
printf 'warn: low disk space\n' > "$log"

e2e_start "$log"
e2e_wait_title "Kestrano - service.log"
e2e_keys w
e2e_quit
e2e_expect_config 2 MinimumSeverity Workspace "$log"

e2e_start
e2e_wait_title "Kestrano - service.log"
e2e_keys u
kill -TERM "$e2e_pid"
e2e_until e2e_exited || e2e_fail "SIGTERM did not end the program"
status=0
wait "$e2e_pid" || status=$?
e2e_pid=
[ "$status" -eq 0 ] || e2e_fail "SIGTERM ended the program with status $status"

e2e_expect_config 2 MinimumSeverity Workspace "$log"
e2e_expect_config 0 ShowUnknown Workspace "$log"
[ -f "$e2e_config.old" ] || e2e_fail "the second save kept no previous configuration"
echo "workspace: restored after a restart and saved again on SIGTERM"
