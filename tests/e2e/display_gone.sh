#!/usr/bin/env bash
# The display going away, as at logout when the X server ends: Kestrano ends with status 1, having saved
# the workspace, so the log opened in that session opens again at the next start.
# Usage: display_gone.sh PROGRAM
source "$(dirname "$0")/e2e.sh" "$@"

# A server of the test's own, which it ends.
display_file=$e2e_home/display
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3> "$display_file" 2> /dev/null &
server=$!
trap 'kill "$server" 2> /dev/null || true; e2e_cleanup' EXIT
served() { [ -s "$display_file" ]; }
e2e_until served || e2e_fail "the second X server did not start"
display=:$(tr -dc 0-9 < "$display_file")

logs=$e2e_home/logs
mkdir -p "$logs"
printf 'service started\n' > "$logs/app.log"
DISPLAY=$display "$e2e_program" "$logs/app.log" > "$e2e_home/output.txt" 2>&1 &
e2e_pid=$!
shown() { DISPLAY=$display xdotool search --all --onlyvisible --name '^Kestrano - app\.log$'; }
e2e_until shown || e2e_fail "no window on the second display: $(cat "$e2e_home/output.txt")"

kill "$server"
e2e_until e2e_exited || e2e_fail "Kestrano outlived its display"
status=0
wait "$e2e_pid" || status=$?
e2e_pid=
[ "$status" -eq 1 ] || e2e_fail "ended with status $status: $(cat "$e2e_home/output.txt")"
[ -n "$(e2e_config_value XPos Workspace "$logs/app.log" ChildFrame)" ] \
    || e2e_fail "the log opened before the display went away is not in the workspace"
echo "display gone: workspace saved, status 1"
