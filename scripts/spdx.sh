#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every tracked source, build and script file names its licence in its first
# line (the second after a "#!" line). Lists the files that do not and fails;
# with --add, gives them the line instead.
#
# usage: scripts/spdx.sh [--add]
set -euo pipefail
cd "$(dirname "$0")/.."
tag='SPDX-License-Identifier: GPL-3.0-or-later'

# The files that need it: code, build files and scripts. Data (pictures,
# settings seeds, fuzz corpora) and the shipped documents (read-me, manual
# page, desktop entry, AppStream file, changelog) are covered by COPYING and
# the package's copyright file.
sources() {
    git ls-files -z | while IFS= read -r -d '' f; do
        case $f in
        fuzz/corpus/*) ;;
        *.cpp | *.h | *.sh | *.py | *.cmake | *.cmake.in | CMakeLists.txt | */CMakeLists.txt)
            echo "$f" ;;
        *) [ "$(head -c2 "$f")" = '#!' ] && echo "$f" || true ;;
        esac
    done
}

status=0
while IFS= read -r f; do
    head -2 "$f" | grep -q "$tag" && continue
    case $f in
    *.cpp | *.h) line="// $tag" ;;
    *) line="# $tag" ;;
    esac
    if [ "${1:-}" = --add ]; then
        if [ "$(head -c2 "$f")" = '#!' ]; then
            sed -i "1a $line" "$f"
        else
            sed -i "1i $line" "$f"
        fi
    else
        echo "no licence line: $f"
        status=1
    fi
done < <(sources)
exit $status
