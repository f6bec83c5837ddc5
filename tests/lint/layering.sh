#!/usr/bin/env bash
# Fails when a source file includes across the layering that ARCHITECTURE.md states.
# Usage: layering.sh ROOT        checks the tree at ROOT
#        layering.sh --self-test shows that it fails on a tree with cross-layer includes
#
# Seen to fail: with `#include "shell/commands/Command.h"` added to core/view/Document.cpp it printed
#   core/view/Document.cpp:3: core/view/ may not include shell/commands/Command.h
# and exited with status 1; --self-test repeats that on a tree of its own at every run.
set -euo pipefail

# One awk pass over every file: each file's layer, and each include it may not make. The layers and
# the folders each may include from ("Qt" stands for Qt's headers; foundation-app is haspel_app, the
# part of foundation/ above config/, named by foundation/CMakeLists.txt). Inside core/ the concept
# folders point one way too: text, ports, search and settings, sources (search among what it may use),
# view; a layer above core/ may include any of them.
check()
{
    local root=$1
    cd "$root"
    local app
    app=$(sed -n '/add_library(haspel_app/,/)/p' foundation/CMakeLists.txt | grep -oE '[A-Za-z0-9_]+\.cpp' \
        | sed 's/\.cpp$//' | tr '\n' ' ')
    find foundation config core platform tail -type f \( -name '*.cpp' -o -name '*.h' \) | sort \
        | xargs awk -v app=" $app " '
        BEGIN {
            allowed["foundation"] = " foundation "
            allowed["foundation-app"] = " foundation config "
            allowed["config"] = " foundation config "
            allowed["core"] = " foundation config core "
            allowed["core/text"] = " foundation config core/text "
            allowed["core/ports"] = " foundation config core/text core/ports "
            allowed["core/search"] = " foundation config core/text core/ports core/search "
            allowed["core/settings"] = " foundation config core/text core/settings "
            allowed["core/sources"] = " foundation config core/text core/ports core/search core/settings core/sources "
            allowed["core/view"] = " foundation config core "
            allowed["platform"] = " foundation config core platform "
            allowed["tail"] = " foundation config core platform tail "
            allowed["platform/qt"] = " foundation config core platform platform/qt Qt "
            status = 0
        }
        FNR == 1 {
            layer = FILENAME
            if (layer ~ /^platform\/qt\//) layer = "platform/qt"
            else if (layer ~ /^core\/[^\/]*\//) layer = substr(layer, 1, index(substr(layer, 6), "/") + 4)
            else sub(/\/.*/, "", layer)
            if (layer == "foundation") {
                base = FILENAME
                sub(/.*\//, "", base)
                sub(/\.[^.]*$/, "", base)
                if (index(app, " " base " ")) layer = "foundation-app"
            }
        }
        /^[ \t]*#[ \t]*include/ {
            if (match($0, /<Q[A-Za-z]*[\/>]/)) folder = "Qt"
            else if (match($0, /"[^"]*\/[^"]*"/)) {
                target = substr($0, RSTART + 1, RLENGTH - 2)
                folder = target
                if (folder ~ /^platform\/qt\//) folder = "platform/qt"
                else if (folder ~ /^core\/[^\/]*\//) folder = substr(folder, 1, index(substr(folder, 6), "/") + 4)
                else sub(/\/.*/, "", folder)
                # A layer allowed all of core/ may include each of its folders.
                if (folder ~ /^core\// && index(allowed[layer], " core ")) folder = "core"
            } else next # the standard library and system headers
            if (!index(allowed[layer], " " folder " ")) {
                name = layer
                sub(/-app$/, "", name)
                printf "%s:%d: %s/ may not include %s\n", FILENAME, FNR, name, \
                    (folder == "Qt" ? substr($0, RSTART + 1, RLENGTH - 2) : target) > "/dev/stderr"
                status = 1
            }
        }
        END { exit status }' || return 1
}

self_test()
{
    local tree
    tree=$(mktemp -d)
    trap 'rm -rf "$tree"' RETURN
    mkdir -p "$tree"/{foundation,config,core/{ports,text,search,settings,sources,view},platform/qt,tail,shell}
    printf 'add_library(haspel_app\n  Logger.cpp\n)\n' > "$tree/foundation/CMakeLists.txt"
    printf '#include "foundation/String.h"\n#include <vector>\n' > "$tree/core/Good.cpp"
    printf '#include "config/Path.h"\n' > "$tree/foundation/Logger.cpp"
    printf '#include <QWidget>\n#include "platform/qt/resources/Resources.h"\n' > "$tree/platform/qt/Good.cpp"
    printf '#include "core/ports/FileSystem.h"\n#include "core/view/ChildView.h"\n' > "$tree/platform/Good.cpp"
    printf '#include "core/text/Message.h"\n#include "core/sources/LogSource.h"\n' > "$tree/core/view/Good.cpp"
    printf '#include "core/settings/MonitorSettings.h"\n#include "core/ports/FileSystem.h"\n' \
        > "$tree/core/sources/Good.cpp"
    (check "$tree") 2> /dev/null || { echo "self-test: a clean tree was refused" >&2; return 1; }
    local bad
    for bad in 'core/A.cpp:#include "shell/commands/Command.h"' 'core/B.cpp:#include "tail/TerminalList.h"' \
        'core/C.h:#include "platform/qt/LogList.h"' 'core/D.cpp:#include <QString>' \
        'config/E.cpp:#include "core/text/Message.h"' 'foundation/F.cpp:#include "config/Path.h"' \
        'tail/G.cpp:#include <QtCore/QString>' 'platform/H.h:#include "shell/app/Kestrano.h"' \
        'platform/qt/I.cpp:#include "shell/commands/Command.h"' 'core/ports/J.h:#include "platform/LinuxFileSystem.h"' \
        'platform/K.cpp:#include "platform/qt/LogList.h"' \
        'core/text/L.cpp:#include "core/settings/MonitorSettings.h"' 'core/text/M.h:#include "core/search/TextMatcher.h"' \
        'core/sources/N.h:#include "core/view/Document.h"' 'core/text/O.h:#include "core/ports/ListControl.h"' \
        'core/settings/P.cpp:#include "core/sources/LogSource.h"'; do
        printf '%s\n' "${bad#*:}" > "$tree/${bad%%:*}"
        if (check "$tree") 2> /dev/null; then
            echo "self-test: not refused: ${bad%%:*} with ${bad#*:}" >&2
            return 1
        fi
        rm "$tree/${bad%%:*}"
    done
    echo "self-test: every cross-layer include was refused"
}

if [ "${1:-}" = "--self-test" ]; then
    self_test
else
    check "${1:?usage: layering.sh ROOT | --self-test}"
fi
