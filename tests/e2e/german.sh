#!/usr/bin/env bash
# Kestrano in German under de_DE.UTF-8: the command-line help, the menus (opened by their German
# access keys), the file dialog and the Options dialog.
# Usage: german.sh PROGRAM
source "$(dirname "$0")/e2e.sh" "$@"

if ! locale -a 2> /dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    [ -n "${CI:-}" ] && e2e_fail "the locale de_DE.UTF-8 is missing"
    echo "skipped: the locale de_DE.UTF-8 is missing (scripts/setup.sh makes it)"
    exit 77
fi
export LANG=de_DE.UTF-8
unset LC_ALL LC_MESSAGES LANGUAGE

help=$("$e2e_program" --help)
[ "$(head -n 1 <<< "$help")" = "Aufruf: $(basename "$e2e_program") [--log STUFE] [--journal[=UNIT]] [--journal-file DATEI] [PROTOKOLLDATEI...]" ] \
    || e2e_fail "--help is not in German: $help"

# The number of the program's windows on the screen (an open menu is one of them).
e2e_windows()
{
    xdotool search --all --onlyvisible --pid "$e2e_pid" --name '' 2> /dev/null | wc -l
}

e2e_start
e2e_wait_title "Kestrano"
main=$e2e_window
before=$(e2e_windows)
# Alt+D opens "&Datei" (the English menu would need Alt+F); its entry "Ö&ffnen..." opens the dialog.
e2e_keys alt+d
e2e_until test "$(e2e_windows)" -gt "$before" || e2e_fail "Alt+D opened no menu"
xdotool key --clearmodifiers f
e2e_wait_title "Öffnen"
e2e_close_dialog "Öffnen"
e2e_window=$main
e2e_keys F10
e2e_wait_title "Optionen"
e2e_close_dialog "Optionen"
e2e_window=$main
e2e_quit
echo "German: help, menus, file dialog and options"
