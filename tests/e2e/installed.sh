#!/usr/bin/env bash
# The installation into a temporary prefix: programs, help documents where the program looks for them,
# menu entry, metainfo, icons and manual pages; then the installed program started as a file manager
# starts it (the menu entry's Exec line with two files), following both logs.
# Usage: installed.sh BUILD_DIRECTORY
source "$(dirname "$0")/e2e.sh" "$@"

build=$1
prefix=$e2e_home/prefix
cmake --install "$build" --prefix "$prefix" > "$e2e_home/install.txt" 2>&1 \
    || { cat "$e2e_home/install.txt" >&2; e2e_fail "cmake --install failed"; }

apps=share/icons/hicolor
for file in bin/kestrano bin/kestrano-tail \
    share/kestrano/help/index.html share/kestrano/Readme.txt \
    share/applications/org.example.Kestrano.desktop share/metainfo/org.example.Kestrano.metainfo.xml \
    $apps/scalable/apps/org.example.Kestrano.svg share/man/man1/kestrano.1 share/man/man1/kestrano-tail.1; do
    [ -s "$prefix/$file" ] || e2e_fail "$file is not installed"
done
for size in 16 22 24 32 48 64 128 256; do
    png=$prefix/$apps/${size}x$size/apps/org.example.Kestrano.png
    [ -f "$png" ] || e2e_fail "no ${size}x$size icon"
    # Width and height are the big-endian words at bytes 16 and 20 of the header.
    read -r -a header <<< "$(od -An -tu1 -j16 -N8 "$png")"
    [ $((header[2] * 256 + header[3])) -eq "$size" ] && [ $((header[6] * 256 + header[7])) -eq "$size" ] \
        || e2e_fail "the ${size}x$size icon has another size"
done
[ -x "$prefix/bin/kestrano" ] && [ -x "$prefix/bin/kestrano-tail" ] || e2e_fail "the programs are not executable"
"$prefix/bin/kestrano" --version | grep -q '^kestrano [0-9]' || e2e_fail "kestrano --version"
"$prefix/bin/kestrano-tail" --help > /dev/null || e2e_fail "kestrano-tail --help"
# The translations, where the installed program finds them.
[ -s "$prefix/share/kestrano/translations/kestrano_de.qm" ] || e2e_fail "the German translation is not installed"
env -u LC_ALL -u LC_MESSAGES -u LANGUAGE LANG=de_DE.UTF-8 "$prefix/bin/kestrano" --help | grep -q '^Aufruf: kestrano ' \
    || e2e_fail "the installed program does not find its German translation"

desktop=$prefix/share/applications/org.example.Kestrano.desktop
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ "$exec_line" = "kestrano %F" ] || e2e_fail "Exec=$exec_line"
grep -qx 'MimeType=text/x-log;' "$desktop" || e2e_fail "the menu entry does not claim text/x-log alone"

logs=$e2e_home/logs
mkdir -p "$logs"
printf 'started\n' > "$logs/first.log"
printf 'started\n' > "$logs/second.log"
# %F becomes the selected files, in order; the program is found on PATH.
export PATH=$prefix/bin:$PATH
e2e_program=kestrano
e2e_start "$logs/first.log" "$logs/second.log"
e2e_wait_title "Kestrano - second.log"
printf 'fatal: out of disk\n' >> "$logs/first.log"
# The error puts its window on top, activating nothing; Ctrl+F6 activates it.
e2e_keys ctrl+F6
e2e_wait_title "Kestrano - first.log"
e2e_quit
echo "installed into $prefix: files in place, both logs followed"
