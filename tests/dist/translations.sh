#!/usr/bin/env bash
# Every translation is complete: after bringing a copy of each .ts file up to date with the sources
# (as the update_translations target does), no text is left unfinished.
# Usage: translations.sh LUPDATE SOURCE_DIRECTORY
set -euo pipefail
lupdate=$1
root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for ts in "$root"/shell/translations/*.ts; do
    copy=$work/$(basename "$ts")
    cp "$ts" "$copy"
    "$lupdate" -silent -locations none -no-obsolete -extensions cpp,h -I "$root" \
        "$root/shell" "$root/platform/qt" -ts "$copy"
    # Each unfinished message: its source line precedes the translation line.
    missing=$(grep -B1 'type="unfinished"' "$copy" | sed -n 's/^ *<source>\(.*\)<\/source>$/\1/p' || true)
    if [ -n "$missing" ] || grep -q 'type="unfinished"' "$copy"; then
        echo "$(basename "$ts") lacks translations (cmake --build build --target update_translations, then translate):"
        echo "$missing"
        status=1
    fi
done
exit "$status"
