#!/usr/bin/env bash
# The program among other desktop programs: an unknown option is a usage error that opens nothing; the
# window's class is the desktop file's id; three logs named on a first run cascade inside the main
# window's client area; a maximised log window names itself once in the caption; Ctrl+F6 and
# Ctrl+Shift+F6 go from window to window, Ctrl+F4 closes one, Ctrl+Q ends the program.
# Usage: windows.sh PROGRAM
source "$(dirname "$0")/e2e.sh" "$@"

status=0
"$e2e_program" --bogus a.log > "$e2e_home/out.txt" 2> "$e2e_home/err.txt" || status=$?
[ "$status" -eq 2 ] || e2e_fail "--bogus ended with status $status, expected 2"
grep -q "unknown option '--bogus'" "$e2e_home/err.txt" || e2e_fail "no message on standard error: $(cat "$e2e_home/err.txt")"
grep -q -- "--help" "$e2e_home/err.txt" || e2e_fail "no hint to --help: $(cat "$e2e_home/err.txt")"
[ ! -s "$e2e_home/out.txt" ] || e2e_fail "a usage error wrote to standard output"
[ ! -e "$e2e_config" ] || e2e_fail "a usage error wrote $e2e_config"

logs=$e2e_home/logs
mkdir -p "$logs"
for name in a b c; do
    printf 'line one\nline two\n' > "$logs/$name.log"
done
e2e_start "$logs/a.log" "$logs/b.log" "$logs/c.log"
e2e_wait_title "Kestrano - c.log"

desktop_id=$(basename "$(dirname "$0")/../../dist/"*.desktop .desktop)
wm_class=$(xprop -id "$e2e_window" WM_CLASS)
[[ "$wm_class" == *", \"$desktop_id\"" ]] || e2e_fail "WM_CLASS is $wm_class, expected the class $desktop_id"
grep -qx "StartupWMClass=$desktop_id" "$(dirname "$0")/../../dist/$desktop_id.desktop" \
    || e2e_fail "the desktop file names another window class"

# The active log window's title bar is the topmost row of the highlight colour (blue) in the middle
# column of the main window; a double click there maximises it. awk reads to the end: leaving early
# would end the commands before it with SIGPIPE, which pipefail turns into a failure.
title_row()
{
    local X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$e2e_window" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    e2e_window_picture | pamcut -left $((WIDTH / 2)) -width 1 | pnmtoplainpnm | tail -n +4 | tr -s ' \n' '\n' \
        | grep . | paste - - - | awk '!found && $3 > $1 + 100 { print NR - 1; found = 1 }'
}
e2e_until test -n "$(title_row)" || e2e_fail "no active log window to be seen"
row=$(title_row)
xdotool mousemove --window "$e2e_window" 150 $((row + 8)) click --repeat 2 --delay 80 1
e2e_wait_title "Kestrano - \[c\.log\]"
e2e_quit

# Cascaded from the top left corner, each one wholly inside the client area (less than the 682 x 512
# of the main window at its first start, which also holds the menu, toolbar and status bar).
previous=-1
for name in a b c; do
    x=$(e2e_config_value XPos Workspace "$logs/$name.log" ChildFrame)
    y=$(e2e_config_value YPos Workspace "$logs/$name.log" ChildFrame)
    width=$(e2e_config_value XSize Workspace "$logs/$name.log" ChildFrame)
    height=$(e2e_config_value YSize Workspace "$logs/$name.log" ChildFrame)
    [ -n "$x" ] && [ -n "$height" ] || e2e_fail "no place stored for $name.log"
    [ "$x" -gt "$previous" ] && [ "$y" -gt "$previous" ] || e2e_fail "$name.log at $x,$y is not cascaded"
    [ "$x" -ge 0 ] && [ $((x + width)) -le 682 ] && [ $((y + height)) -le 452 ] \
        || e2e_fail "$name.log at $x,$y size ${width}x$height is not inside the client area"
    previous=$x
done
# The keys of multiple-window programs, on the restored windows.
# The restored windows: c.log comes back maximised, as it was left.
e2e_start
e2e_wait_title "Kestrano - \[c\.log\]"
first=$(xdotool getwindowname "$e2e_window")
e2e_keys ctrl+F6
e2e_until test "$(xdotool getwindowname "$e2e_window")" != "$first" || e2e_fail "Ctrl+F6 stayed on $first"
e2e_keys ctrl+shift+F6
e2e_wait_title "$(sed 's/[]$*.^[]/\\&/g' <<< "$first")"
e2e_keys ctrl+F4
e2e_until test "$(xdotool getwindowname "$e2e_window")" != "$first" || e2e_fail "Ctrl+F4 did not close $first"
closed=${first#Kestrano - }
closed=${closed#[}
closed=${closed%]}
e2e_keys ctrl+q
e2e_until e2e_exited || e2e_fail "Ctrl+Q did not end the program"
status=0
wait "$e2e_pid" || status=$?
e2e_pid=
[ "$status" -eq 0 ] || e2e_fail "the program ended with status $status after Ctrl+Q"
[ -z "$(e2e_config_value XPos Workspace "$logs/$closed" ChildFrame)" ] || e2e_fail "$closed closed with Ctrl+F4 is still in the workspace"
echo "windows: usage error, WM_CLASS $desktop_id, cascaded, maximised caption and restart, Ctrl+F6, Ctrl+F4, Ctrl+Q"
