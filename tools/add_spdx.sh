#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every source and script file of the project names its licence in an SPDX
# line near its top ("// SPDX-License-Identifier: MIT" in C++, "# ..." in
# shell, Python, CMake and make files).
#
#   tools/add_spdx.sh [source root]           adds the line where it is missing
#   tools/add_spdx.sh --check [source root]   lists the files without it and
#                                               exits 1 when there are any
#
# The line goes first, or right after a "#!" line. A file counts as having it
# when one of its first three lines holds the identifier.
set -euo pipefail
check=0
if [ "${1:-}" = "--check" ]; then
    check=1
    shift
fi
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

readonly tag="SPDX-License-Identifier: MIT"

# The files concerned: tracked files in a git checkout, otherwise every file
# outside the build folders.
list_files() {
    if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
        git ls-files --cached --others --exclude-standard
    else
        find . \( -name .git -o -name 'build*' -o -name Testing \) -prune -o -type f -print | sed 's|^\./||'
    fi
}

# The comment leader for a file, or nothing when it is not source or script.
leader_of() {
    case "$1" in
        *.cpp | *.h) echo "//" ;;
        *.sh | *.py | *.cmake | */CMakeLists.txt | CMakeLists.txt | Makefile | .ci/run) echo "#" ;;
    esac
}

has_tag() {
    head -n 3 "$1" | grep -q "$tag"
}

add_tag() {
    local file=$1 line="$2 $tag" tmp
    tmp=$(mktemp "$file.spdx.XXXXXX")
    if head -n 1 "$file" | grep -q '^#!'; then
        { head -n 1 "$file"; echo "$line"; tail -n +2 "$file"; } > "$tmp"
    else
        { echo "$line"; cat "$file"; } > "$tmp"
    fi
    chmod --reference="$file" "$tmp"
    mv "$tmp" "$file"
}

missing=0
while IFS= read -r file; do
    [ -f "$file" ] || continue
    leader=$(leader_of "$file")
    [ -n "$leader" ] || continue
    has_tag "$file" && continue
    if [ "$check" = 1 ]; then
        echo "no SPDX line: $file"
        missing=$((missing + 1))
    else
        add_tag "$file" "$leader"
        echo "added: $file"
    fi
done < <(list_files)

if [ "$check" = 1 ] && [ "$missing" -gt 0 ]; then
    echo "$missing file(s) without \"$tag\"; tools/add_spdx.sh adds it" >&2
    exit 1
fi
exit 0
