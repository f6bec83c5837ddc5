# Sourced by the end-to-end tests that need a desktop's session bus: runs the calling script again on a
# session bus of its own (dbus-run-session) and, there, starts a real notification daemon (dunst) and
# records the notifications asked for on the bus (dbus-monitor) in $e2e_home/bus.txt; and another
# program for the user to work in.
# Usage in a test: source desktop_bus.sh "$@" TOOL...   (the tools the test needs besides these)
#   then, after e2e.sh: e2e_start_notifications
e2e_bus_tools=(dbus-run-session dbus-monitor dbus-send dunst)
if [ -z "${E2E_OWN_BUS:-}" ]; then
    for tool in "${e2e_bus_tools[@]}" "${E2E_BUS_TOOLS[@]}"; do
        if ! command -v "$tool" > /dev/null; then
            [ -n "${CI:-}" ] && { echo "$tool is missing" >&2; exit 1; }
            echo "skipped: $tool is missing (scripts/setup.sh installs it)"
            exit 77
        fi
    done
    E2E_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi

# Processes the test started besides the program, ended when it exits.
e2e_helpers=()
e2e_stop_helpers()
{
    local pid
    for pid in "${e2e_helpers[@]}"; do
        kill "$pid" 2> /dev/null || true
    done
    e2e_cleanup
}

e2e_start_notifications()
{
    trap e2e_stop_helpers EXIT
    dunst > "$e2e_home/dunst.txt" 2>&1 &
    e2e_helpers+=($!)
    e2e_until e2e_notification_service || e2e_fail "dunst did not take the notification service: $(cat "$e2e_home/dunst.txt")"
    dbus-monitor --session "type='method_call',interface='org.freedesktop.Notifications',member='Notify'" \
        > "$e2e_home/bus.txt" 2>&1 &
    e2e_helpers+=($!)
    e2e_until grep -q 'member=NameAcquired\|signal' "$e2e_home/bus.txt" || true
}

e2e_notification_service()
{
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.Notifications | grep -q 'boolean true'
}

# Another program's window (xmessage); its id in $other.
e2e_start_other_program()
{
    xmessage -name other "another program" &
    e2e_helpers+=($!)
    e2e_until xdotool search --all --onlyvisible --name '^other$|^xmessage$' || e2e_fail "no other window"
    other=$(xdotool search --all --onlyvisible --name '^other$|^xmessage$' | head -n 1)
}
