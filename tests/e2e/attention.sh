#!/usr/bin/env bash
# Attention without taking the keyboard, under a window manager (openbox) with a notification daemon
# (dunst) on a session bus of the test's own. An error in a log while another program is active leaves
# that program active, marks Kestrano's window as demanding attention and sends a notification; errors
# in one log while the user types into another log's text filter leave every key in that field (stored
# as its "TextFilter") and the other log's filter as it was.
# Usage: attention.sh PROGRAM [SCREENSHOT.png]
E2E_BUS_TOOLS=(xmessage openbox xprop)
source "$(dirname "$0")/desktop_bus.sh" "$@"
source "$(dirname "$0")/e2e.sh" "$@"

e2e_start_notifications

openbox --sm-disable > "$e2e_home/openbox.txt" 2>&1 &
e2e_helpers+=($!)
managed() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
e2e_until managed || e2e_fail "openbox did not start: $(cat "$e2e_home/openbox.txt")"

logs=$e2e_home/logs
mkdir -p "$logs"
printf 'service started\n' > "$logs/failing.log"
printf 'service started\n' > "$logs/typed.log"
e2e_start "$logs/failing.log" "$logs/typed.log"
e2e_wait_title "Kestrano - typed.log"
main=$e2e_window

# The user goes to another program.
e2e_start_other_program
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
