#!/usr/bin/env bash
# The metainfo's newest release is the project's version, with a real date that has come; each manual
# page's title line names the same version.
# Usage: release.sh METAINFO VERSION [MANUAL_PAGE...]
set -euo pipefail
metainfo=$1
version=$2
shift 2
for page in "$@"; do
    head -n 1 "$page" | grep -qF "\"Kestrano $version\"" \
        || { echo "$page does not name version $version: $(head -n 1 "$page")"; exit 1; }
done
release=$(grep -m 1 -o '<release [^>]*>' "$metainfo") || { echo "no release in $metainfo"; exit 1; }
listed=$(sed -n 's/.* version="\([^"]*\)".*/\1/p' <<< "$release")
date=$(sed -n 's/.* date="\([0-9]\{4\}-[0-9]\{2\}-[0-9]\{2\}\)".*/\1/p' <<< "$release")
[ "$listed" = "$version" ] || { echo "the newest release is \"$listed\", the project's version $version"; exit 1; }
[ -n "$date" ] && [ "$(date -u -d "$date" +%F 2> /dev/null)" = "$date" ] \
    || { echo "release $version has no valid date: $release"; exit 1; }
[ "$date" \< "$(date -u -d tomorrow +%F)" ] || { echo "release $version is dated in the future: $date"; exit 1; }
echo "release $version of $date"
