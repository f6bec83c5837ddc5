# Sourced by the end-to-end tests: runs the calling script on a virtual X server with a fresh home of
# its own, and drives the program there as a user would (window titles, keys, Alt+X).
# Usage in a test: source e2e.sh "$@"   (the test's arguments: PROGRAM, then its own)
set -euo pipefail

if [ -z "${KESTRANO_E2E_SERVER:-}" ]; then
    for tool in Xvfb xdotool xwdtopnm; do
        if ! command -v "$tool" > /dev/null; then
            # In CI the set-up script installs them, so a missing one is a failure there.
            [ -n "${CI:-}" ] && { echo "$tool is missing" >&2; exit 1; }
            echo "skipped: $tool is missing (scripts/setup.sh installs it)"
            exit 77
        fi
    done
    export KESTRANO_E2E_SERVER=1
    # The server keeps its screen in a file there, for e2e_screenshot; e2e_cleanup removes the folder.
    if [ -z "${E2E_SCREEN_DIR:-}" ]; then
        E2E_SCREEN_DIR=$(mktemp -d)
        export E2E_SCREEN_DIR E2E_SCREEN_DIR_OWNED=1
    fi
    # Xvfb picks a free display itself and names it on descriptor 3 once it accepts clients, so two
    # servers started at the same moment never take the same display. -noreset: without it the server
    # resets when its last client disconnects, and a program started during the reset (the second
    # start of a restart test) cannot connect.
    e2e_display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -fbdir "$E2E_SCREEN_DIR" -nolisten tcp -noreset \
        3> "$e2e_display_file" 2> /dev/null &
    e2e_server=$!
    for _ in $(seq 400); do
        [ -s "$e2e_display_file" ] && break
        sleep 0.05
    done
    e2e_display=$(tr -dc 0-9 < "$e2e_display_file")
    rm -f "$e2e_display_file"
    e2e_status=0
    if [ -z "$e2e_display" ]; then
        echo "FAILED: the virtual X server did not start" >&2
        e2e_status=1
    else
        DISPLAY=:$e2e_display bash "$0" "$@" || e2e_status=$?
    fi
    kill "$e2e_server" 2> /dev/null || true
    wait "$e2e_server" 2> /dev/null || true
    exit "$e2e_status"
fi

e2e_program=$1
e2e_pid=
e2e_window=
e2e_home=$(mktemp -d)
trap 'e2e_cleanup' EXIT
export HOME=$e2e_home XDG_CONFIG_HOME=$e2e_home/.config XDG_STATE_HOME=$e2e_home/.local/state
# The program's own English texts, whatever the caller's language; a test may choose another.
export LANG=C.UTF-8
unset LANGUAGE LC_ALL LC_MESSAGES
# The session folder where a running Kestrano is found: each test has its own.
export XDG_RUNTIME_DIR=$e2e_home/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
# Leaks of the X and font libraries are not ours; the unit tests check our own.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
e2e_config=$XDG_CONFIG_HOME/Tormalind/Kestrano/kestrano.cfg

e2e_cleanup()
{
    [ -n "$e2e_pid" ] && kill -KILL "$e2e_pid" 2> /dev/null
    rm -rf "$e2e_home"
    [ -z "${E2E_SCREEN_DIR_OWNED:-}" ] || rm -rf "$E2E_SCREEN_DIR"
}

e2e_fail()
{
    echo "FAILED: $*" >&2
    if [ -f "$e2e_config" ]; then
        echo "$e2e_config:" >&2
        cat "$e2e_config" >&2
    fi
    exit 1
}

# Polls COMMAND... every 0.1 s for at most E2E_WAIT seconds (default 20); false when it never held.
e2e_until()
{
    local tries=$((${E2E_WAIT:-20} * 10))
    while ! "$@" > /dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

# Starts the program with the given arguments and waits for its main window.
e2e_start()
{
    "$e2e_program" "$@" &
    e2e_pid=$!
    e2e_wait_title "Kestrano( - .*)?"
}

# Waits until the main window's title matches the whole extended regular expression; keeps its id.
e2e_wait_title()
{
    e2e_until xdotool search --all --onlyvisible --pid "$e2e_pid" --name "^$1\$" \
        || e2e_fail "no window titled \"$1\" (titles: $(e2e_titles))"
    e2e_window=$(xdotool search --all --onlyvisible --pid "$e2e_pid" --name "^$1\$" | head -n 1)
}

e2e_titles()
{
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$e2e_pid" --name . 2> /dev/null); do
        printf '"%s" ' "$(xdotool getwindowname "$id")"
    done
}

# Types keys into the main window (xdotool key names: e, alt+x, shift+Delete).
e2e_keys()
{
    xdotool windowfocus --sync "$e2e_window" key --clearmodifiers "$@"
}

# Closes the dialog titled TITLE with Escape, sent to the dialog itself and again until it is gone (a
# key sent before the dialog has the focus, on a slow machine, goes nowhere).
e2e_close_dialog()
{
    local id tries=100
    while id=$(xdotool search --all --onlyvisible --pid "$e2e_pid" --name "^$1\$" 2> /dev/null) && [ -n "$id" ]; do
        xdotool windowfocus --sync "${id%%$'\n'*}" key --clearmodifiers Escape 2> /dev/null || true
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || e2e_fail "the dialog \"$1\" did not close"
        sleep 0.2
    done
}

# Ends the program with Alt+X and checks that it exits with status 0.
e2e_quit()
{
    e2e_keys alt+x
    e2e_until e2e_exited || e2e_fail "Alt+X did not end the program"
    local status=0
    wait "$e2e_pid" || status=$?
    e2e_pid=
    [ "$status" -eq 0 ] || e2e_fail "the program ended with status $status"
}

e2e_exited()
{
    ! kill -0 "$e2e_pid" 2> /dev/null || [ "$(ps -o stat= -p "$e2e_pid")" = Z ]
}

# The value stored under KEY in the section path SECTION... (outermost first) of the configuration file
# written at exit; prints nothing when it is not there.
e2e_config_value()
{
    local key=$1 path
    shift
    path=$(IFS='|'; echo "$*")
    [ -f "$e2e_config" ] || return 0
    awk -v key="$key" -v want="$path" '
        function unescape(text,    result, i, c) {
            result = ""
            for (i = 1; i <= length(text); i++) {
                c = substr(text, i, 1)
                if (c == "\\") c = substr(text, ++i, 1)
                result = result c
            }
            return result
        }
        function joined(    result, i) {
            result = stack[1]
            for (i = 2; i <= depth; i++) result = result "|" stack[i]
            return result
        }
        { sub(/^[ \t]+/, "") }
        /^<\// { depth--; next }
        /<\/>$/ {
            end = index($0, ">")
            if (depth > 0 && joined() == want && substr($0, 2, end - 2) == key)
                print unescape(substr($0, end + 1, length($0) - end - 3))
            next
        }
        /^<.*>$/ { stack[++depth] = unescape(substr($0, 2, length($0) - 2)) }
    ' "$e2e_config"
}

# Fails unless KEY in SECTION... holds EXPECTED.
e2e_expect_config()
{
    local expected=$1 actual
    shift
    actual=$(e2e_config_value "$@")
    [ "$actual" = "$expected" ] || e2e_fail "$* is \"$actual\" in $e2e_config, expected \"$expected\""
}

# Writes the main window as it is on the screen to the PNG file OUTPUT.
e2e_screenshot()
{
    e2e_window_picture | pnmtopng -compression 9 > "$1"
}

# How many pixels of the main window have the colour R G B (0 to 255 each) now.
e2e_pixels()
{
    e2e_window_picture | ppmhist -noheader | awk -v r="$1" -v g="$2" -v b="$3" '
        $1 == r && $2 == g && $3 == b { count = $5 } END { print count + 0 }'
}

# Like e2e_pixels, once two counts 0.2 s apart agree (the window has been painted).
e2e_settled_pixels()
{
    local previous=-1 count tries=$((${E2E_WAIT:-20} * 5))
    while count=$(e2e_pixels "$@"); [ "$count" != "$previous" ] && [ "$tries" -gt 0 ]; do
        previous=$count
        tries=$((tries - 1))
        sleep 0.2
    done
    echo "$count"
}

# The main window's pixels as a netpbm picture, cut from the server's screen file.
e2e_window_picture()
{
    local X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$e2e_window" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    xwdtopnm "$E2E_SCREEN_DIR/Xvfb_screen0" 2> /dev/null \
        | pamcut -left "$X" -top "$Y" -width "$WIDTH" -height "$HEIGHT"
}
