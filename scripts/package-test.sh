#!/usr/bin/env bash
# Builds the Debian package (cpack -G DEB in the build folder), checks what it holds and checks it with
# lintian (no error, no warning, no hardening missing), installs it with apt-get, checks that both
# programs run from /usr (--version, the German help, a start under Xvfb), checks that every library
# the running program loaded comes from a package its dependencies bring along (what a fresh Debian 12
# would install), and removes the package again.
# Usage: scripts/package-test.sh [BUILD_DIRECTORY]   (default build/; as root or with sudo)
# Keeps nothing in the real home folder: the program runs with a temporary HOME and XDG folders.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

fail() { echo "package-test: FAILED: $*" >&2; exit 1; }
say() { echo "package-test: $*"; }

if dpkg-query -W -f='${Status}' kestrano 2> /dev/null | grep -q 'install ok installed'; then
    fail "a kestrano package is installed already; remove it first (apt-get remove kestrano)"
fi

say "building and packing in $build"
cmake --build "$build" > /dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
rm -f "$build"/kestrano_*.deb
(cd "$build" && cpack -G DEB > cpack.txt 2>&1) || { cat "$build/cpack.txt" >&2; fail "cpack -G DEB"; }
deb=$(ls "$build"/kestrano_"$version"_*.deb) || fail "no package kestrano_${version}_*.deb in $build"
say "made $(basename "$deb")"

# What it holds and what it needs.
contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|')
for file in /usr/bin/kestrano /usr/bin/kestrano-tail /usr/share/man/man1/kestrano.1.gz \
    /usr/share/man/man1/kestrano-tail.1.gz /usr/share/doc/kestrano/copyright \
    /usr/share/doc/kestrano/changelog.gz \
    /usr/share/applications/org.example.Kestrano.desktop \
    /usr/share/metainfo/org.example.Kestrano.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/org.example.Kestrano.svg \
    /usr/share/icons/hicolor/48x48/apps/org.example.Kestrano.png \
    /usr/share/kestrano/translations/kestrano_de.qm; do
    grep -qx "$file" <<< "$contents" || fail "the package lacks $file"
done
grep -q '/help/index.html$' <<< "$contents" || fail "the package lacks the help page"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libcanberra0; do
    sed 's/ *([^)]*)//g; s/, */\n/g' <<< "$depends" | grep -qxF "$package" || fail "Depends lacks $package: $depends"
done
say "depends on $depends"
grep -qw qt6-wayland <<< "$(dpkg-deb -f "$deb" Recommends)" || fail "Recommends lacks qt6-wayland (Qt's Wayland platform)"

# lintian as Debian's archive runs it: any error or warning fails. Its informational tags fail too where
# they say a hardening flag is missing; the others may stay: binary-has-unneeded-section (the .comment
# that CPack's strip keeps), package-contains-documentation-outside-usr-share-doc (the help and the
# Readme.txt the program shows), spelling-error-in-binary (a text the program shows as it stands).
command -v lintian > /dev/null || fail "lintian is missing (scripts/setup.sh installs it)"
findings=$(lintian --profile debian --display-info --fail-on error,warning "$deb" 2>&1 | { grep -v '^running with root' || true; }) \
    || { echo "$findings" >&2; fail "lintian reports errors or warnings"; }
if grep -q ' hardening-' <<< "$findings"; then echo "$findings" >&2; fail "lintian finds hardening missing"; fi
# lintian does not look for the stack protector: each program calls its check.
unpacked=$(mktemp -d)
dpkg-deb -x "$deb" "$unpacked"
for program in kestrano kestrano-tail; do
    readelf --dyn-syms -W "$unpacked/usr/bin/$program" | grep -w __stack_chk_fail > /dev/null \
        || { rm -rf "$unpacked"; fail "/usr/bin/$program is built without the stack protector"; }
done
rm -rf "$unpacked"
informational=$(grep '^I: ' <<< "$findings" | cut -d' ' -f3 | sort -u | paste -sd' ') || true
say "lintian: no error, no warning, hardened; informational: ${informational:-none}"

removed=0
remove()
{
    [ "$removed" -eq 1 ] && return
    removed=1
    say "removing the package"
    $sudo apt-get purge -y -q kestrano > /dev/null 2>&1 || echo "package-test: could not remove kestrano" >&2
}
trap remove EXIT
say "installing with apt-get"
$sudo apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=600 "$deb" > "$build/apt.txt" 2>&1 \
    || { cat "$build/apt.txt" >&2; fail "apt-get install $deb"; }

[ "$(/usr/bin/kestrano --version | head -n 1)" = "kestrano $version" ] || fail "/usr/bin/kestrano --version"
[ "$(/usr/bin/kestrano-tail --version | head -n 1)" = "kestrano-tail $version" ] || fail "/usr/bin/kestrano-tail --version"
env -u LC_ALL -u LC_MESSAGES -u LANGUAGE LANG=de_DE.UTF-8 /usr/bin/kestrano --help | grep -q '^Aufruf: kestrano ' \
    || fail "/usr/bin/kestrano --help is not in German under de_DE.UTF-8"
printf 'error: one\n' > "$build/package-test.log"
/usr/bin/kestrano-tail --once "$build/package-test.log" | grep -q 'one' || fail "/usr/bin/kestrano-tail --once"
rm -f "$build/package-test.log"

libraries=$(mktemp)
bash "$root/tests/e2e/packaged.sh" /usr/bin/kestrano "$libraries" || { rm -f "$libraries"; fail "starting /usr/bin/kestrano"; }

# Every library the running program had loaded belongs to a package that the package's dependencies
# bring along, so a fresh system that installs it has them all.
# Every package the listing names: those reached, the targets of Depends lines, the providers of
# virtual packages.
closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances kestrano | sed 's/.*: //; s/^ *//; s/[<>|]//g; s/:.*//' | sort -u)
# libX11 loads the cursor library (and with it libXrender) itself when it is there, and does without.
optional="libxcursor1 libxrender1"
missing=()
while read -r library; do
    owner=""
    for candidate in "$library" "${library#/usr}" "$(readlink -f "$library")"; do
        owner=$(dpkg-query -S "$candidate" 2> /dev/null | head -n 1 | cut -d: -f1) && [ -n "$owner" ] && break
    done
    [ -n "$owner" ] || { missing+=("$library (no package)"); continue; }
    [ "$owner" = kestrano ] || grep -qx "$owner" <<< "$closure" || grep -qw "$owner" <<< "$optional" \
        || missing+=("$library ($owner)")
done < "$libraries"
count=$(wc -l < "$libraries")
rm -f "$libraries"
[ ${#missing[@]} -eq 0 ] || fail "loaded from packages no dependency brings: ${missing[*]}"
say "all $count loaded libraries come with the dependencies"

remove
dpkg-query -W -f='${Status}' kestrano 2> /dev/null | grep -q 'install ok installed' && fail "still installed"
[ ! -e /usr/bin/kestrano ] || fail "/usr/bin/kestrano is still there after removing the package"
say "passed: $(basename "$deb") builds, installs, runs and goes again"
