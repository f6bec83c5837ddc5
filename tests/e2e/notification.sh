#!/usr/bin/env bash
# Attention that reaches a user working in another program: on a session bus of its own with a real
# notification daemon (dunst), an error written to a log while another program's window has the focus
# shows a desktop notification "Kestrano: FILE" with the message's first line, seen on the bus with
# dbus-monitor.
# Usage: notification.sh PROGRAM
if [ -z "${E2E_OWN_BUS:-}" ]; then
    for tool in dbus-run-session dbus-monitor dbus-send dunst xmessage; do
        if ! command -v "$tool" > /dev/null; then
            [ -n "${CI:-}" ] && { echo "$tool is missing" >&2; exit 1; }
            echo "skipped: $tool is missing (scripts/setup.sh installs it)"
            exit 77
        fi
    done
    E2E_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/e2e.sh" "$@"

helpers=()
stop_helpers()
{
    local pid
    for pid in "${helpers[@]}"; do
        kill "$pid" 2> /dev/null || true
    done
    e2e_cleanup
}
trap stop_helpers EXIT

dunst > "$e2e_home/dunst.txt" 2>&1 &
helpers+=($!)
name_owned()
{
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.Notifications | grep -q 'boolean true'
}
e2e_until name_owned || e2e_fail "dunst did not take the notification service: $(cat "$e2e_home/dunst.txt")"
dbus-monitor --session "type='method_call',interface='org.freedesktop.Notifications',member='Notify'" \
    > "$e2e_home/bus.txt" 2>&1 &
helpers+=($!)
e2e_until grep -q 'member=NameAcquired\|signal' "$e2e_home/bus.txt" || true

logs=$e2e_home/logs
mkdir -p "$logs"
printf 'service started\n' > "$logs/app.log"
e2e_start "$logs/app.log"
e2e_wait_title "Kestrano - app.log"
main=$e2e_window

# The user goes to another program.
xmessage -name other "another program" &
helpers+=($!)
e2e_until xdotool search --all --onlyvisible --name '^other$|^xmessage$' || e2e_fail "no other window"
other=$(xdotool search --all --onlyvisible --name '^other$|^xmessage$' | head -n 1)
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
