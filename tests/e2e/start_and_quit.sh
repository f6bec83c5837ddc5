#!/usr/bin/env bash
# The built program on a virtual X server: started with a log file, it shows its main window captioned
# with that log; a termination signal ends it like Exit, and the configuration is saved.
# Usage: start_and_quit.sh PROGRAM
set -euo pipefail
program=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_STATE_HOME=$home/.local/state
# Leaks of the X and font libraries are not ours; the unit tests check our own.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
printf 'hello\ndisk error\n' > "$home/e2e.log"

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    "$1" "$2" &
    pid=$!
    for _ in $(seq 100); do
        xdotool search --name "^Kestrano - e2e.log$" > /dev/null 2>&1 && break
        sleep 0.2
    done
    if ! xdotool search --name "^Kestrano - e2e.log$" > /dev/null 2>&1; then
        echo "no main window captioned \"Kestrano - e2e.log\"" >&2
        kill -KILL "$pid"
        exit 1
    fi
    kill -TERM "$pid"
    wait "$pid"
' start_and_quit "$program" "$home/e2e.log"

config=$XDG_CONFIG_HOME/Tormalind/Kestrano/kestrano.cfg
grep -q "<UpdateEvery>1000</>" "$config" || { echo "settings not saved in $config" >&2; exit 1; }
grep -q "<Maximized>0</>" "$config" || { echo "placement not saved in $config" >&2; exit 1; }
