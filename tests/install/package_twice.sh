#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Raises the version to 1.15 in two copies of the tree, in folders of
# different names, and packages each with scripts/package.sh: the two .deb
# files must be byte for byte the same, say 1.15 wherever a version shows,
# and hold the Debian layout for games.
#
# usage: tests/install/package_twice.sh [WORK_DIR]   (default: a new temporary folder)
set -euo pipefail
tree=$(cd "$(dirname "$0")/../.." && pwd)
work=${1:-$(mktemp -d "${TMPDIR:-/tmp}/korvane-twice.XXXXXX")}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# One time for both builds: the last commit's.
SOURCE_DATE_EPOCH=$(git -C "$tree" log -1 --format=%ct)
export SOURCE_DATE_EPOCH
debs=()
for copy in a/korvane bb/korvane-again; do
    dir=$work/$copy
    rm -rf "$dir"
    mkdir -p "$dir"
    (cd "$tree" && git ls-files -z | tar --null -T - -cf -) | tar -xf - -C "$dir"
    sed -i -E 's/^project\(Korvane VERSION [0-9.]+/project(Korvane VERSION 1.15/' "$dir/CMakeLists.txt"
    "$dir/scripts/package.sh" >"$work/package-${copy%%/*}.log" 2>&1 ||
        { tail -40 "$work/package-${copy%%/*}.log" >&2; fail "scripts/package.sh in $dir"; }
    debs+=("$dir/build-deb/korvane_1.15_$(dpkg --print-architecture).deb")
done
sha256sum "${debs[@]}"
if ! cmp -s "${debs[0]}" "${debs[1]}"; then
    command -v diffoscope >/dev/null && diffoscope "${debs[@]}" | head -60 >&2
    fail "the two packages differ"
fi
deb=${debs[0]}

# The version, everywhere it shows.
root=$work/root
rm -rf "$root"
dpkg-deb -x "$deb" "$root"
[ "$(dpkg-deb -f "$deb" Version)" = 1.15 ] || fail "package version $(dpkg-deb -f "$deb" Version)"
# strings may take a byte or two before the text for a character of its own.
strings -el "$root/usr/games/korvane" | grep -q 'Version 1\.15$' || fail "About does not say Version 1.15"
grep -q '<release version="1.15" date="' "$root/usr/share/metainfo/io.github.korvane.Korvane.metainfo.xml" ||
    fail "no AppStream release 1.15"
zcat "$root/usr/share/man/man6/korvane.6.gz" | head -1 | grep -q '^\.TH KORVANE 6 ".*" "Korvane 1\.15" "Games"$' ||
    fail "manual page header: $(zcat "$root/usr/share/man/man6/korvane.6.gz" | head -1)"
zcat "$root/usr/share/doc/korvane/changelog.gz" | head -1 | grep -q '^korvane (1\.15) ' ||
    fail "changelog: $(zcat "$root/usr/share/doc/korvane/changelog.gz" | head -1)"

# The layout: the program in /usr/games, what it ships in /usr/share/games.
files=$(dpkg-deb -c "$deb" | grep -v '^d' | sed -E 's/^([^ ]+ +){5}//' |
    sed -E 's#/(Skins|Fonts)/[^/]+\.png$#/\1/*.png#' | sort -u)
expected='./usr/games/korvane
./usr/share/applications/korvane.desktop
./usr/share/doc/korvane/changelog.gz
./usr/share/doc/korvane/copyright
./usr/share/games/korvane/Fonts/*.png
./usr/share/games/korvane/ReadMe.txt
./usr/share/games/korvane/Skins/*.png
./usr/share/icons/hicolor/128x128/apps/korvane.png
./usr/share/icons/hicolor/16x16/apps/korvane.png
./usr/share/icons/hicolor/256x256/apps/korvane.png
./usr/share/icons/hicolor/32x32/apps/korvane.png
./usr/share/icons/hicolor/48x48/apps/korvane.png
./usr/share/icons/hicolor/64x64/apps/korvane.png
./usr/share/man/man6/korvane.6.gz
./usr/share/metainfo/io.github.korvane.Korvane.metainfo.xml'
[ "$files" = "$expected" ] || fail "package files differ:
$(diff <(echo "$expected") <(echo "$files"))"
echo "two builds give one package: $(sha256sum <"$deb" | cut -c1-64)"
[ -n "${1:-}" ] || rm -rf "$work"
