#!/usr/bin/env bash
# The menu entry and the metainfo pass the freedesktop validators (desktop-file-validate, appstreamcli);
# the menu entry claims the log type and not text/plain.
# A validator that is missing skips its check, except in CI, where scripts/setup.sh installs both.
# Usage: validate.sh DESKTOP_FILE METAINFO_FILE
set -euo pipefail
desktop=$1
metainfo=$2
ran=0

# Claiming text/plain would make Kestrano the default program for every kind of text on a desktop
# without a defaults list.
claimed=$(sed -n 's/^MimeType=//p' "$desktop" | tr ';' '\n')
grep -qx 'text/x-log' <<< "$claimed" || { echo "$desktop does not claim text/x-log"; exit 1; }
if grep -qx 'text/plain' <<< "$claimed"; then echo "$desktop claims text/plain"; exit 1; fi

have()
{
    command -v "$1" > /dev/null && return 0
    [ -n "${CI:-}" ] && { echo "$1 is missing" >&2; exit 1; }
    echo "skipped: $1 is missing (scripts/setup.sh installs it)"
    return 1
}

if have desktop-file-validate; then
    # It prints its findings and fails on errors; hints are printed too, and count as failures here.
    output=$(desktop-file-validate "$desktop" 2>&1) || { echo "$output"; exit 1; }
    [ -z "$output" ] || { echo "$output"; exit 1; }
    ran=$((ran + 1))
fi
if have appstreamcli; then
    appstreamcli validate --no-net "$metainfo"
    ran=$((ran + 1))
fi
[ "$ran" -gt 0 ] || exit 77
