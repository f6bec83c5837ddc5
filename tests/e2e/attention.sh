#!/usr/bin/env bash
# Attention without taking the keyboard, under a window manager (openbox) with a notification daemon
# (dunst) on a session bus of the test's own. An error in a log while another program is active leaves
# that program active, marks Kestrano's window as demanding attention and sends a notification; errors
# in one log while the user types into another log's text filter leave every key in that field (stored
# as its "TextFilter") and the other log's filter as it was.
# Usage: attention.sh PROGRAM [SCREENSHOT.png]
if [ -z "${E2E_OWN_BUS:-}" ]; then
    for tool in dbus-run-session dbus-monitor dbus-send dunst xmessage openbox xprop; do
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

openbox --sm-disable > "$e2e_home/openbox.txt" 2>&1 &
helpers+=($!)
managed() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
e2e_until managed || e2e_fail "openbox did not start: $(cat "$e2e_home/openbox.txt")"
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

logs=$e2e_home/logs
mkdir -p "$logs"
printf 'service started\n' > "$logs/failing.log"
printf 'service started\n' > "$logs/typed.log"
e2e_start "$logs/failing.log" "$logs/typed.log"
e2e_wait_title "Kestrano - typed.log"
main=$e2e_window

# The user goes to another program.
xmessage -name other "another program" &
helpers+=($!)
e2e_until xdotool search --all --onlyvisible --name '^other$|^xmessage$' || e2e_fail "no other window"
other=$(xdotool search --all --onlyvisible --name '^other$|^xmessage$' | head -n 1)
xdotool windowactivate --sync "$other"
other_active() { [ "$(xdotool getactivewindow)" = "$other" ]; }
e2e_until other_active || e2e_fail "the other program did not become active"

printf 'disk error on /var\n  while writing orders\n' >> "$logs/failing.log"
notified() { grep -q 'string "Kestrano: failing.log"' "$e2e_home/bus.txt"; }
e2e_until notified || e2e_fail "no notification on the bus: $(cat "$e2e_home/bus.txt")"
demands_attention()
{
    xprop -id "$main" _NET_WM_STATE | grep -q _NET_WM_STATE_DEMANDS_ATTENTION \
        || xprop -id "$main" WM_HINTS | grep -qi urgen
}
e2e_until demands_attention || e2e_fail "the main window asks for no attention: $(xprop -id "$main")"
sleep 1 # time for a wrong activation to show
other_active || e2e_fail "the error took the active window from the other program"

# The user comes back by clicking the window and types into the text filter of typed.log while
# failing.log gets errors.
xdotool windowactivate --sync "$main"
kestrano_active() { [ "$(xdotool getactivewindow)" = "$main" ]; }
e2e_until kestrano_active || e2e_fail "Kestrano did not become active"
xdotool key --clearmodifiers ctrl+shift+f
words="time is the fire in which we burn"
(
    for i in $(seq 1 20); do
        printf 'error %d in the background\nfatal %d\n' "$i" "$i" >> "$logs/failing.log"
        sleep 0.15
    done
) &
writer=$!
xdotool type --delay 60 "$words"
wait "$writer"
sleep 1
[ -z "${2:-}" ] || e2e_screenshot "$2"
kestrano_active || e2e_fail "the errors took the active window from Kestrano"
e2e_wait_title "Kestrano - typed.log"
e2e_quit
e2e_expect_config "$words" TextFilter Workspace "$logs/typed.log"
[ -z "$(e2e_config_value MinimumSeverity Workspace "$logs/failing.log")" ] \
    || e2e_expect_config 0 MinimumSeverity Workspace "$logs/failing.log"
e2e_expect_config "" TextFilter Workspace "$logs/failing.log"
echo "attention: the keyboard stayed where the user typed"
