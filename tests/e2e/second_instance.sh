#!/usr/bin/env bash
# One Kestrano per session: a second start (as a file manager's "Open with") hands its file, named
# relative to its own folder, to the running one, which shows it; the second ends at once with status
# 0, and the one workspace saved at exit holds both logs. The launcher's startup notification ends.
# Usage: second_instance.sh PROGRAM [SCREENSHOT.png]
source "$(dirname "$0")/e2e.sh" "$@"

mkdir -p "$e2e_home/logs/app"
first=$e2e_home/logs/first.log
second=$e2e_home/logs/app/second.log
printf 'info: started\n' > "$first"
printf 'error: disk full\n' > "$second"

e2e_start "$first"
e2e_wait_title "Kestrano - first.log"

status=0
# A launcher's startup notification: the running one ends it (seen on the root window with xev).
xev -root -event property > "$e2e_home/root.txt" 2>&1 &
spy=$!
trap 'kill "$spy" 2> /dev/null || true; e2e_cleanup' EXIT
# xev listens once it reports a property set on the root window.
xev_listens()
{
    xprop -root -f _KESTRANO_E2E 8s -set _KESTRANO_E2E ready
    grep -q PropertyNotify "$e2e_home/root.txt"
}
e2e_until xev_listens || e2e_fail "xev does not report the root window's events"
(cd "$e2e_home/logs/app" && DESKTOP_STARTUP_ID=launcher-7_TIME0 "$e2e_program" second.log) || status=$?
[ "$status" -eq 0 ] || e2e_fail "the second start ended with status $status"
startup_ended() { grep -q '_NET_STARTUP_INFO_BEGIN' "$e2e_home/root.txt"; }
e2e_until startup_ended || e2e_fail "the launcher's startup notification was not ended: $(cat "$e2e_home/root.txt")"
[ ! -e "$e2e_config" ] || e2e_fail "the second start wrote the configuration"
e2e_wait_title "Kestrano - second.log"
[ -z "${2:-}" ] || e2e_screenshot "$2"

e2e_quit
[ -n "$(e2e_config_value XPos Workspace "$first" ChildFrame)" ] || e2e_fail "first.log left the workspace"
[ -n "$(e2e_config_value XPos Workspace "$second" ChildFrame)" ] || e2e_fail "second.log is not in the workspace"
echo "second instance: its file opened in the running one"
