#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the screenshots of README.md under a private X server (no window
# manager, so the windows have no frames):
#   docs/beginner.png      a new Beginner game, built-in skin and font
#   docs/ocean.png         an Intermediate game in play, Ocean skin, Large font
#   docs/expert-won.png    a won game on an Expert field, Large skin, Green LCD
#   docs/custom-field.png  the Custom Field dialog
# Each shot runs a copy of the program in a folder of its own, with a
# settings file written for it.
#
# usage: scripts/screenshots.sh [PROGRAM [OUTPUT-FOLDER]]
#        (default: build/korvane and docs/; build the program first)
set -euo pipefail
cd "$(dirname "$0")/.."
prog=$(realpath "${1:-build/korvane}")
out=$(realpath -m "${2:-docs}")
for tool in Xvfb xdotool import /usr/bin/convert; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (apt-get install xvfb xdotool imagemagick)" >&2; exit 1; }
done
[ -x "$prog" ] || { echo "no program at $prog: build it first" >&2; exit 1; }
mkdir -p "$out"

. scripts/xvfb.sh
work=$(mktemp -d "${TMPDIR:-/tmp}/korvane-shots.XXXXXX")
game=
cleanup() {
    korvane_game_stop "$game"
    korvane_xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT

korvane_xvfb /dev/null || { echo "Xvfb did not start" >&2; exit 1; }

# start SETTINGS: runs a fresh copy of the game with this korvane.ini and
# sets win, W and H to its window and size.
start() {
    local dir
    dir=$(mktemp -d "$work/game.XXXXXX")
    korvane_game_copy "$prog" "$dir"
    printf '%s\n' "$1" >"$dir/korvane.ini"
    "$dir/korvane" >"$dir/log" 2>&1 &
    game=$!
    win=$(korvane_window)
    [ -n "$win" ] || { cat "$dir/log" >&2; echo "the game did not show its window" >&2; exit 1; }
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$win" | grep -E '^(WIDTH|HEIGHT)=')"
    W=$WIDTH
    H=$HEIGHT
    xdotool windowfocus --sync "$win"
}

stop() {
    kill "$game" 2>/dev/null || true
    wait "$game" 2>/dev/null || true
    game=
}

click() { # x y [button]: a click at a fraction of the window's size
    xdotool mousemove --window "$win" "$(awk "BEGIN{print int($W*$1)}")" \
        "$(awk "BEGIN{print int($H*$2)}")" click "${3:-1}"
    sleep 0.2
}

shot() { # window file
    sleep 0.3
    import -window "$1" -strip "$work/shot.png"
    /usr/bin/convert "$work/shot.png" -strip -define png:exclude-chunks=date,time "$2"
    echo "$2: $(identify -format '%wx%h' "$2")"
}

# has COLOUR: whether the window shows this colour (a hit bomb's tile).
has() {
    import -window "$win" "$work/probe.png"
    /usr/bin/convert "$work/probe.png" -format %c histogram:info:- | grep -qi "$1"
}

# count COLOUR: how many pixels of the window have this colour.
count() {
    import -window "$win" "$work/probe.png"
    /usr/bin/convert "$work/probe.png" -format %c histogram:info:- |
        awk -v c="$1" 'toupper($0) ~ toupper(c) {print $1+0; found=1} END{if (!found) print 0}'
}

# 1. Beginner at the start.
start ''
shot "$win" "$out/beginner.png"
stop

# 2. Ocean: an Intermediate game with a good part of the field open. A game
#    lost or barely opened by its first click is replaced by a new one (F2).
start $'[Field]\nBeginner=0\nIntermediate=1\nWidth=18\nHeight=18\nBombs=40\n[Settings]\nSkin=Ocean\nFont=Large'
for _ in $(seq 40); do
    click 0.5 0.6
    if ! has '#F2545B' && [ "$(count '#E9F4F8')" -gt 25000 ]; then
        break
    fi
    xdotool key F2
    sleep 0.2
done
shot "$win" "$out/ocean.png"
stop

# 3. A won game on an Expert field with the Large skin. Ten bombs, the fewest
#    a stored field keeps, under Maximum shields: no hit loses, so clicking
#    every cell in turn opens the last plain cell or hits the last bomb. The
#    cells are counted up from the window's bottom edge: the status bar (about
#    20 pixels) and the panels' 8 lie below the field's last row.
start $'[Field]\nBeginner=0\nExpert=1\nWidth=32\nHeight=18\nBombs=10\n[Settings]\nSkin=Large\nFont=Green LCD\n[Shields]\nSelectionPercentage=0\nSelection=0'
every=()
for row in $(seq 0 15); do
    for column in $(seq 0 29); do
        every+=(mousemove --window "$win" $((8 + 32 + 32 * column + 16))
                $((H - 20 - 8 - 32 - 32 * row - 16)) click 1)
    done
done
xdotool "${every[@]}"
shot "$win" "$out/expert-won.png"
stop

# 4. The Custom Field dialog, opened from the Game menu as a player would.
start ''
xdotool key alt+g
sleep 0.3
xdotool key c
dialog=
for _ in $(seq 50); do
    dialog=$(xdotool search --onlyvisible --name '^Custom Field$' 2>/dev/null | head -1 || true)
    [ -n "$dialog" ] && break
    sleep 0.1
done
[ -n "$dialog" ] || { echo "the Custom Field dialog did not open" >&2; exit 1; }
shot "$dialog" "$out/custom-field.png"
xdotool key Escape
stop
