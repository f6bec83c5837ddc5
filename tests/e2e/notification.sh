#!/usr/bin/env bash
# Attention that reaches a user working in another program: on a session bus of its own with a real
# notification daemon (dunst), an error written to a log while another program's window has the focus
# shows a desktop notification "Kestrano: FILE" with the message's first line, seen on the bus with
# dbus-monitor.
# Usage: notification.sh PROGRAM
E2E_BUS_TOOLS=(xmessage)
source "$(dirname "$0")/desktop_bus.sh" "$@"
source "$(dirname "$0")/e2e.sh" "$@"

e2e_start_notifications

logs=$e2e_home/logs
mkdir -p "$logs"
printf 'service started\n' > "$logs/app.log"
e2e_start "$logs/app.log"
e2e_wait_title "Kestrano - app.log"
main=$e2e_window

# The user goes to another program.
e2e_start_other_program
focused_elsewhere()
{
    xdotool windowfocus --sync "$other" && [ "$(xdotool getwindowfocus)" = "$other" ]
}
notified()
{
    grep -q 'string "Kestrano: app.log"' "$e2e_home/bus.txt"
}
# The program may see the focus leave only after its next poll; the error raises its window, which takes
# the focus back on a server without a window manager, so each try starts in the other program again.
for attempt in 1 2 3 4; do
    e2e_until focused_elsewhere || e2e_fail "the other program did not get the focus"
    printf 'disk error on /var\n  while writing orders\n' >> "$logs/app.log"
    E2E_WAIT=5 e2e_until notified && break
done
notified || e2e_fail "no notification on the bus: $(cat "$e2e_home/bus.txt")"
grep -q 'string "disk error on /var"' "$e2e_home/bus.txt" || e2e_fail "the body is not the first line: $(cat "$e2e_home/bus.txt")"
grep -q 'string "image-data"' "$e2e_home/bus.txt" || e2e_fail "the notification has no icon"
grep -q 'string "desktop-entry"' "$e2e_home/bus.txt" || e2e_fail "the notification names no desktop file"

e2e_window=$main
e2e_quit
echo "notification: seen on the session bus"
