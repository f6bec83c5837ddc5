#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what clang-format makes of it (.clang-format).
# Usage: format.sh ROOT         checks every *.cpp and *.h under ROOT's source folders
#        format.sh --self-test  shows that it fails on a misformatted file
#
# Seen to fail: with "int  x ;" added to core/Document.cpp it printed clang-format's
#   core/Document.cpp:3:4: error: code should be clang-formatted [-Wclang-format-violations]
# and exited with status 1; --self-test repeats that on a file of its own at every run.
set -euo pipefail

check()
{
    local root=$1
    command -v clang-format > /dev/null || { echo "clang-format is missing (scripts/setup.sh installs it)" >&2; exit 1; }
    cd "$root"
    find foundation config core platform shell tail tests bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) \
        -print0 | sort -z | xargs -0 clang-format --dry-run -Werror --style=file
}

self_test()
{
    local tree
    tree=$(mktemp -d)
    trap 'rm -rf "$tree"' RETURN
    cp "$(dirname "$0")/../../.clang-format" "$tree/"
    mkdir -p "$tree"/{foundation,config,core,platform,shell,tail,tests,bench,fuzz}
    printf 'int f()\n{\n    return 1;\n}\n' > "$tree/core/Good.cpp"
    (check "$tree") 2> /dev/null || { echo "self-test: a formatted file was refused" >&2; return 1; }
    printf 'int  g( ) { return 2 ; }\n' > "$tree/shell/Bad.cpp"
    if (check "$tree") 2> /dev/null; then
        echo "self-test: a misformatted file was not refused" >&2
        return 1
    fi
    echo "self-test: the misformatted file was refused"
}

if [ "${1:-}" = "--self-test" ]; then
    self_test
else
    check "${1:?usage: format.sh ROOT | --self-test}"
fi
