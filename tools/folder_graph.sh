#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The include graph between the source folders, and the rules it must keep.
#
#   tools/folder_graph.sh [source root]       prints "from -> to" per folder pair
#                                               and exits 1 when a rule is broken
#
# Rules: no cycle between folders; base/ includes nothing of the others; fish/
# and environment/ include nothing of view/; view/ includes nothing of app/;
# the scene core (base, platform, fish, environment, settings, view/scene)
# includes no Qt header.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

folders="base platform platform/qt fish environment settings view/scene view ui widgets sound app resources"

# The folder a path belongs to: the longest listed folder that prefixes it.
folder_of() {
    local path=$1 best=""
    for f in $folders; do
        case "$path" in "$f"/*) if [ ${#f} -gt ${#best} ]; then best=$f; fi ;; esac
    done
    echo "$best"
}

edges=$(
    for dir in $folders; do
        if [ ! -d "$dir" ]; then continue; fi
        find "$dir" -maxdepth 1 -name '*.h' -o -maxdepth 1 -name '*.cpp' | while read -r file; do
            sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file" | while read -r inc; do
                to=$(folder_of "$inc")
                if [ -n "$to" ] && [ "$to" != "$dir" ]; then echo "$dir $to"; fi
            done
        done
    done | sort -u
)

status=0
echo "$edges" | sed 's/ / -> /'

if ! echo "$edges" | tsort >/dev/null 2>/tmp/folder_graph.$$; then
    echo "FAIL: include cycle between folders:" >&2
    cat /tmp/folder_graph.$$ >&2
    status=1
fi
rm -f /tmp/folder_graph.$$

forbid() {  # forbid FROM TO...
    local from=$1; shift
    for to in "$@"; do
        if echo "$edges" | grep -qx "$from $to"; then
            echo "FAIL: $from/ includes $to/" >&2
            status=1
        fi
    done
}
forbid base platform platform/qt fish environment settings view/scene view ui widgets sound app resources
forbid fish view/scene view ui widgets sound app
forbid environment view/scene view ui widgets sound app
forbid view app
forbid view/scene view app ui widgets sound

for core in base platform fish environment settings view/scene; do
    if grep -l '^#include <Q' "$core"/*.h "$core"/*.cpp 2>/dev/null | grep -q .; then
        echo "FAIL: $core/ includes Qt:" >&2
        grep -l '^#include <Q' "$core"/*.h "$core"/*.cpp >&2
        status=1
    fi
done
exit $status
