#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays Korvane in a real X window under Xvfb, with real pointer clicks from
# xdotool: a game lost and a game won, a flag cycle and F2, each checked by
# the pixels of the face button and of the cells. Screenshots go to the output
# folder.
#
# Then the ends of a desktop session: a session manager's save request and
# the display going away under the game.
#
#   xvfb_play.sh <korvane program> <output folder> [session manager]
#
# Exit status: 0 passed, 1 failed, 77 skipped (Xvfb, xdotool or ImageMagick
# missing).
set -u

PROGRAM=${1:?program}
OUT=${2:?output folder}
SESSION_SAVE=${3:-}
HERE=$(cd "$(dirname "$0")" && pwd)
RESOURCES=$HERE/../../resources
CONVERT=/usr/bin/convert
COMPARE=/usr/bin/compare

for tool in Xvfb xdotool xdpyinfo import "$CONVERT" "$COMPARE"; do
    command -v "$tool" > /dev/null || { echo "skipped: $tool is missing"; exit 77; }
done

. "$HERE/../../scripts/xvfb.sh"
WORK=$(mktemp -d)
APP_PID=
cleanup() {
    korvane_game_stop "$APP_PID"
    korvane_xvfb_stop
    rm -rf "$WORK"
}
trap cleanup EXIT

FAILED=0
fail() {
    echo "FAIL: $*"
    FAILED=1
}

# A first run's screenshot (what scripts/run does without a display) ends
# quietly: the game before its display, in a runtime folder of its own.
korvane_game_copy "$PROGRAM" "$WORK/shot"
env -u XDG_RUNTIME_DIR "$HERE/../../scripts/shot.sh" "$WORK/shot/korvane" "$WORK/shot.png" \
    > "$WORK/shot.log" 2>&1 || fail "scripts/shot.sh failed"
grep -E 'connection broke|XDG_RUNTIME_DIR' "$WORK/shot.log" && fail "a screenshot run printed alarms"

korvane_xvfb "$WORK/xvfb.log" || { echo "Xvfb did not start"; cat "$WORK/xvfb.log"; exit 1; }

mkdir -p "$OUT"
korvane_game_copy "$PROGRAM" "$WORK/program"

# The faces as the button shows them: the background on the button's grey.
for i in 0 1 2 3; do
    "$CONVERT" "$RESOURCES/Faces.png" -crop 16x16+$((16 * i))+0 +repage \
        -fill '#C0C0C0' -opaque '#800080' "$WORK/face$i.png"
done
# Tile i of the built-in skin.
tile() {
    "$CONVERT" "$RESOURCES/DefaultSkin.png" -crop 16x16+$((16 * ($1 % 11)))+$((16 * ($1 / 11))) \
        +repage "$WORK/tile$1.png"
    echo "$WORK/tile$1.png"
}

same() { # same <image> <reference>: no pixel differs
    [ "$("$COMPARE" -metric AE "$1" "$2" null: 2>&1)" = "0" ]
}

WINDOW=
MENU=
settings() { # settings <bombs> [shields]: the settings file of start
    cat > "$WORK/program/korvane.ini" << EOF
[Field]
Beginner=0
Custom=1
Width=11
Height=11
Bombs=$1
Walls=0
[Settings]
Surround=1
Marks=1
AutoOpen=1
Upflag=1
Statusbar=1
[Shields]
SelectionPercentage=0
Selection=${2:-1}
EOF
}

start() { # start <bombs> [shields]: a 9 x 9 field inside the ring with that many bombs
    settings "$@"
    QT_QPA_PLATFORM=xcb "$WORK/program/korvane" > "$WORK/program.log" 2>&1 &
    APP_PID=$!
    WINDOW=$(korvane_window)
    [ -n "$WINDOW" ] || { echo "no window"; cat "$WORK/program.log"; exit 1; }
    sleep 0.5
    # The menu bar's height: the normal face lies 15 pixels below it, at x = 88.
    shot "$WORK/first.png"
    MENU=
    for m in $(seq 10 40); do
        "$CONVERT" "$WORK/first.png" -crop 16x16+88+$((m + 15)) +repage "$WORK/crop.png"
        if same "$WORK/crop.png" "$WORK/face0.png"; then
            MENU=$m
            break
        fi
    done
    [ -n "$MENU" ] || { echo "the normal face is not where the layout puts it"; exit 1; }
}

stop() {
    kill "$APP_PID" 2> /dev/null
    wait "$APP_PID" 2> /dev/null
    APP_PID=
}

shot() { import -window "$WINDOW" "$1"; }

face() { # the index of the face on the button, or -1
    shot "$WORK/now.png"
    "$CONVERT" "$WORK/now.png" -crop 16x16+88+$((MENU + 15)) +repage "$WORK/crop.png"
    for i in 0 1 2 3; do
        same "$WORK/crop.png" "$WORK/face$i.png" && { echo $i; return; }
    done
    echo -1
}

# Cell (x, y) in window pixels: the field starts 8 pixels in (4 for the main
# panel, 4 for the field's) and below the menu bar, the main panel's 4, the
# display row (23 + 16) and the field panel's 4.
cell_x() { echo $((8 + 16 * $1 + 8)); }
cell_y() { echo $((MENU + 47 + 16 * $1 + 8)); }

cell_is() { # cell_is <x> <y> <tile>
    shot "$WORK/now.png"
    "$CONVERT" "$WORK/now.png" -crop 16x16+$((8 + 16 * $1))+$((MENU + 47 + 16 * $2)) +repage \
        "$WORK/cell.png"
    same "$WORK/cell.png" "$(tile "$3")"
}

click() { # click <button> <x> <y>
    xdotool mousemove --window "$WINDOW" "$(cell_x "$2")" "$(cell_y "$3")" click "$1"
    sleep 0.4
}

f2() {
    xdotool windowfocus --sync "$WINDOW"
    xdotool key F2
    sleep 0.4
}

# A loss: 80 bombs among 81 cells. The pressed face shows while the button is
# down; the release on a bomb ends the game.
start 80
shot "$OUT/start.png"
for attempt in $(seq 10); do
    xdotool mousemove --window "$WINDOW" "$(cell_x 5)" "$(cell_y 5)" mousedown 1
    sleep 0.4
    [ "$attempt" = 1 ] && shot "$OUT/pressed.png"
    [ "$(face)" = 1 ] || fail "no pressed face while the left button is down"
    cell_is 5 5 0 || fail "the cell under the mouse does not look pressed"
    xdotool mouseup 1
    sleep 0.4
    now=$(face)
    [ "$now" = 2 ] && break
    [ "$now" = 3 ] || fail "a click on a field of 80 bombs in 81 cells neither lost nor won"
    f2 # the one plain cell: won; try again
done
shot "$OUT/lost.png"
[ "$(face)" = 2 ] && echo "lost: the sad face shows" || fail "no lost face"
cell_is 5 5 9 || fail "the bomb hit is not shown"
f2
[ "$(face)" = 0 ] && echo "F2: a new game with the normal face" || fail "F2 did not start a new game"
cell_is 5 5 22 || fail "the new game's cell is not covered"
stop

# A win: ten bombs, the fewest a stored field keeps, under Maximum shields
# (Selection 0), so that no hit loses: clicking every cell in turn opens the
# last plain cell or hits the last bomb. Before that, the right button's cycle
# with Upflag on.
start 10 0
click 3 1 1
cell_is 1 1 21 && echo "right click: flag" || fail "no flag after a right click"
shot "$OUT/flag.png"
click 3 1 1
cell_is 1 1 32 || fail "no mark after the second right click"
click 3 1 1
cell_is 1 1 22 || fail "the cell is not covered again after the third right click"
every=()
for y in $(seq 1 9); do
    for x in $(seq 1 9); do
        every+=(mousemove --window "$WINDOW" "$(cell_x "$x")" "$(cell_y "$y")" click 1)
    done
done
xdotool "${every[@]}"
sleep 0.4
shot "$OUT/won.png"
[ "$(face)" = 3 ] && echo "won: the face with dark glasses shows" || fail "no won face"
cell_is 1 1 22 && fail "the won field is not revealed"
stop

# A session that ends under the game: first a session manager's save request
# (at logout), then the display going away. Each time the settings file holds
# what Game > Exit writes, this run's Auto Open (off) included.
saved_as_at_exit() {
    cat > "$WORK/expected.ini" << EOF
[Field]
Beginner=0
Custom=1
Width=11
Height=11
Bombs=10
Walls=0
Intermediate=0
Expert=0
Master=0
[Settings]
Surround=1
Marks=1
AutoOpen=0
Upflag=1
Statusbar=1
StartMarked=0
OpenWalls=0
Minutes=1
Skin=Default
Font=Default
[Shields]
SelectionPercentage=0
Selection=0
CustomPercentage=50
CustomFixed=10
EOF
    cmp -s "$WORK/program/korvane.ini" "$WORK/expected.ini" && echo "$1: settings saved" \
        || { fail "$1: the settings are not what Exit writes"; diff "$WORK/expected.ini" "$WORK/program/korvane.ini"; }
}
if [ -n "$SESSION_SAVE" ]; then
    mkfifo "$WORK/sm.in"
    "$SESSION_SAVE" < "$WORK/sm.in" > "$WORK/sm.out" 2>&1 &
    SM_PID=$!
    exec 5> "$WORK/sm.in"
    for _ in $(seq 50); do [ -s "$WORK/sm.out" ] && break; sleep 0.1; done
    SESSION_MANAGER=$(head -1 "$WORK/sm.out")
    export SESSION_MANAGER
    start 10 0
    unset SESSION_MANAGER
    xdotool windowfocus --sync "$WINDOW"
    xdotool key alt+o
    sleep 0.3
    xdotool key a
    sleep 0.3
    echo save >&5
    for _ in $(seq 50); do grep -q '^saved' "$WORK/sm.out" && break; sleep 0.1; done
    saved_as_at_exit "a logout's save request"
    settings 10 0
    korvane_xvfb_stop
    wait "$APP_PID"
    APP_PID=
    saved_as_at_exit "the display gone"
    exec 5>&-
    wait "$SM_PID" || fail "the session manager saw no save: $(cat "$WORK/sm.out")"
fi

exit $FAILED
