#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and starts the installed game
# under a private X server: the layout must be complete, the window must come
# up at its Beginner size, the skins must be found beside the program, and the
# settings file must be written there at exit.
# With "deb", the build is packed with cpack -G DEB instead and the package
# unpacked with dpkg-deb -x (no root, nothing installed): the system build
# must come up from there for a player with a home of their own, list the
# player's skins, keep the settings in that home, open the installed read-me
# and the player's own folders from the Help menu, and write nothing under /usr.
#
# usage: installed_game.sh CMAKE BUILD_DIR [deb]
# Exits 77 (skipped) when Xvfb or xdotool, or for "deb" dpkg-dev, is missing.
set -euo pipefail
cmake=$1
build=$2
layout=${3:-portable}
tools="Xvfb xdotool"
[ "$layout" = deb ] && tools="$tools dpkg-deb dpkg-shlibdeps"

for tool in $tools; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

. "$(dirname "$0")/../../scripts/xvfb.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/korvane-install.XXXXXX")
game=
cleanup() {
    korvane_game_stop "$game"
    korvane_xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if [ "$layout" = deb ]; then
    "$(dirname "$cmake")/cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/pkg" \
        >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack -G DEB failed"; }
    deb=$(ls "$work"/pkg/korvane_*_"$(dpkg --print-architecture)".deb)
    [ -f "$deb" ] || fail "no package"
    fields=$(dpkg-deb -f "$deb" Section Priority)
    [ "$fields" = $'Section: games\nPriority: optional' ] || fail "control fields: $fields"
    dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6.*libc6\|libc6.*libqt6widgets6' ||
        fail "dependencies not computed: $(dpkg-deb -f "$deb" Depends)"
    dpkg-deb -x "$deb" "$work/root"
    touch "$work/unpacked"
    prefix=$work/root/usr
    app=$prefix/share/games/korvane
    program=$prefix/games/korvane
    # The game plays without sounds (libcanberra, opened at the first one)
    # and without a URL opener: both are recommended, neither is a must.
    recommends='qt6-wayland, xdg-utils'
    grep -qa 'libcanberra\.so\.0' "$program" && recommends="libcanberra0, $recommends"
    [ "$(dpkg-deb -f "$deb" Recommends)" = "$recommends" ] ||
        fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"
    ! dpkg-deb -f "$deb" Depends | grep -q 'libcanberra' ||
        fail "Depends: $(dpkg-deb -f "$deb" Depends)"
    files="games/korvane share/games/korvane/ReadMe.txt
        share/man/man6/korvane.6.gz share/doc/korvane/copyright share/doc/korvane/changelog.gz"
    grep -q '^Copyright:' "$prefix/share/doc/korvane/copyright" || fail "copyright has no Copyright: line"
else
    prefix=$work/prefix
    "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" || {
        cat "$work/install.log" >&2
        fail "cmake --install failed"
    }
    app=$prefix/lib/korvane
    program=$prefix/bin/korvane
    files="bin/korvane lib/korvane/korvane lib/korvane/ReadMe.txt"
fi
for path in $files \
    share/applications/korvane.desktop \
    share/metainfo/io.github.korvane.Korvane.metainfo.xml \
    share/icons/hicolor/16x16/apps/korvane.png \
    share/icons/hicolor/32x32/apps/korvane.png \
    share/icons/hicolor/48x48/apps/korvane.png \
    share/icons/hicolor/64x64/apps/korvane.png \
    share/icons/hicolor/128x128/apps/korvane.png \
    share/icons/hicolor/256x256/apps/korvane.png; do
    [ -e "$prefix/$path" ] || fail "$path is not installed"
done
[ -x "$program" ] || fail "$program cannot be run"
skins=$(find "$app/Skins" -name '*.png' | wc -l)
fonts=$(find "$app/Fonts" -name '*.png' | wc -l)
[ "$skins" -ge 3 ] || fail "only $skins skins installed"
[ "$fonts" -ge 2 ] || fail "only $fonts fonts installed"

korvane_xvfb "$work/xvfb.log" || fail "Xvfb did not start"

# Starts the installed game through bin/korvane, waits for its window and
# sets width to the window's width.
start() {
    unset QT_QPA_PLATFORM
    "$program" >"$work/game.log" 2>&1 &
    game=$!
    win=$(korvane_window 150)
    [ -n "$win" ] || { cat "$work/game.log" >&2; fail "no visible Korvane window"; }
    sleep 0.5 # the first layout settles after the window is mapped
    width=$(xdotool getwindowgeometry "$win" | sed -n 's/.*Geometry: \([0-9]*\)x[0-9]*/\1/p')
}

# Game > Exit, as a player would; the settings are written at exit.
quit() {
    xdotool windowfocus --sync "$win"
    xdotool key alt+g
    sleep 0.3
    xdotool key x
    for _ in $(seq 100); do
        kill -0 "$game" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$game" 2>/dev/null; then
        fail "the game did not end after Game > Exit"
    fi
    wait "$game" || fail "the game ended with an error"
    game=
}

if [ "$layout" = deb ]; then
    for check in "desktop-file-validate $prefix/share/applications/korvane.desktop" \
        "appstreamcli validate --no-net $prefix/share/metainfo/io.github.korvane.Korvane.metainfo.xml"; do
        command -v "${check%% *}" >/dev/null || continue
        $check >"$work/check.log" 2>&1 || { cat "$work/check.log" >&2; fail "$check"; }
    done
    export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
    mkdir -p "$HOME" "$XDG_DATA_HOME/korvane/Skins" "$work/bin"
    # A URL opener that notes what it is asked to open.
    printf '#!/bin/sh\necho "$@" >>"%s"\n' "$work/opened" >"$work/bin/xdg-open"
    chmod +x "$work/bin/xdg-open"
    export PATH=$work/bin:$PATH
    # The player's classic.png, the shipped Large skin (32-pixel tiles) under
    # another name, merges with the shipped Classic as the Skin menu's first
    # entry, and wins over it.
    cp "$app/Skins/Large.png" "$XDG_DATA_HOME/korvane/Skins/classic.png"
    start
    xdotool windowfocus --sync "$win"
    # Options, then up past Status and Font to Skin, into it, first entry.
    xdotool key alt+o
    sleep 0.3
    xdotool key Up Up Up Right
    sleep 0.3
    xdotool key Return
    sleep 0.5
    width=$(xdotool getwindowgeometry "$win" | sed -n 's/.*Geometry: \([0-9]*\)x[0-9]*/\1/p')
    # Help > Readme; the link of Help > About; the Fonts folder link of
    # Help > Credits, whose folder does not exist yet.
    xdotool key alt+h
    sleep 0.3
    xdotool key Return
    for item in "Up:About Oskavel:55 88" "Down:Credits:40 293"; do
        xdotool windowfocus --sync "$win"
        xdotool key alt+h
        sleep 0.3
        xdotool key "${item%%:*}" Return
        item=${item#*:}
        dialog=$(xdotool search --sync --onlyvisible --name "^${item%%:*}\$" | head -1)
        sleep 0.3
        xdotool mousemove --window "$dialog" ${item#*:} click 1
        sleep 0.3
        xdotool key Escape
        sleep 0.3
    done
    for _ in $(seq 50); do
        [ "$(wc -l <"$work/opened" 2>/dev/null)" = 3 ] && break
        sleep 0.1
    done
    opened=$(sed "s#$work#WORK#g" "$work/opened")
    [ "$opened" = 'file://WORK/root/usr/share/games/korvane/ReadMe.txt
file://WORK/root/usr/share/games/korvane/ReadMe.txt
file://WORK/data/korvane/Fonts' ] || fail "opened: $opened"
    [ -d "$XDG_DATA_HOME/korvane/Fonts" ] || fail "the Fonts link made no folder"
    quit
    ini=$XDG_CONFIG_HOME/korvane/korvane.ini
    [ -f "$ini" ] || fail "no settings file in XDG_CONFIG_HOME"
    grep -q '^Skin=Classic$' "$ini" || fail "settings file lacks Skin=Classic"
    [ $(((width - 16) % 32)) = 0 ] && [ "$width" -gt 192 ] || fail "the player's skin gives a window $width wide"
    written=$(find "$work/root" -newer "$work/unpacked")
    [ -z "$written" ] || fail "written under the unpacked /usr: $written"
    echo "unpacked package runs from $prefix: player's Classic skin $width wide, settings in $ini"
    exit 0
fi

# No settings file and no window manager: Beginner with one margin column on
# each side, 16 + 11 * 16 + 2 * 16 = 192 pixels wide.
start
[ "$width" = 192 ] || fail "Beginner window is $width wide, expected 192"
quit
[ -f "$app/korvane.ini" ] || fail "no settings file beside the installed program"
grep -q '^Skin=Default' "$app/korvane.ini" || fail "settings file lacks the skin"

# A shipped skin named in the settings file is found beside the program; one
# whose tiles are not 16 pixels wide shows in the window's width. A PNG file
# holds its width in bytes 16 to 19, big-endian.
skin=
tile=0
while IFS= read -r file; do
    read -r b0 b1 b2 b3 < <(od -An -tu1 -j16 -N4 "$file")
    tile=$((((b0 << 24) | (b1 << 16) | (b2 << 8) | b3) / 11))
    skin=$(basename "$file" .png)
    [ "$tile" != 16 ] && break
done < <(find "$app/Skins" -name '*.png' | sort)
sed -i "s/^Skin=.*/Skin=$skin/" "$app/korvane.ini"
start
quit
grep -q "^Skin=$skin\$" "$app/korvane.ini" || fail "skin $skin did not load at start-up"
# 11 columns plus margin columns, which come in pairs.
columns=$(((width - 16) / tile))
if [ $(((width - 16) % tile)) != 0 ] || [ "$columns" -lt 11 ] || [ $(((columns - 11) % 2)) != 0 ]; then
    fail "with $skin ($tile-pixel tiles) the window is $width wide"
fi
echo "installed game runs from $prefix: Beginner 192 wide; $skin skin $width wide"
