#!/usr/bin/env bash
# Runs the built program on a virtual X server without a window manager and
# checks its real window: a Beginner field with Surroundings on is 192 pixels
# wide, and with no frame the outer and inner sizes agree. Saves a screenshot
# after one click into the field, then leaves through Game > Exit and checks
# that the settings file was written beside the program.
# "openbox": under that window manager with Surroundings off, the window has
# the width its frame calls for from the start, the main window and each
# dialog ask for their buttons, and SIGTERM after a menu change keeps it.
# "wayland": under weston's headless compositor the face is drawn pixel for
# pixel, SIGTERM writes the settings, and nothing reaches standard error.
#
# Usage: xvfb_window_size.sh PROGRAM SCREENSHOT_DIR [openbox|wayland]
# Exit 77 (skipped) when Xvfb, the X tools or that mode's programs are missing.
set -u

program=$1
shots=$2
mode=${3:-}

tools="Xvfb xdotool xwininfo xdpyinfo $mode"
[ "$mode" = wayland ] && tools="weston weston-screenshooter /usr/bin/convert /usr/bin/compare"
[ "$mode" = wayland ] && ! ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so \
    >/dev/null 2>&1 && tools+=" qt6-wayland"
for tool in $tools; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done
if [ ! -x "$program" ]; then
    echo "no program at $program"
    exit 1
fi

. "$(dirname "$0")/../../scripts/xvfb.sh"
work=$(mktemp -d)
xvfb=
wm=
game=
cleanup() {
    if [ -n "$game" ] && kill -0 "$game" 2>/dev/null; then
        kill "$game" 2>/dev/null
        wait "$game" 2>/dev/null
    fi
    [ -n "$wm" ] && kill "$wm" 2>/dev/null
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null
        wait "$xvfb" 2>/dev/null
    fi
    korvane_xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT

# The program writes its settings beside itself: run a copy.
korvane_game_copy "$program" "$work"

if [ "$mode" = wayland ]; then
    export XDG_RUNTIME_DIR=$work WAYLAND_DISPLAY=wl
    unset DISPLAY
    # Pixman draws into memory; --debug lets weston-screenshooter in.
    weston --backend=headless-backend.so --use-pixman --debug --socket=wl --width=640 \
        --height=480 >"$work/weston.log" 2>&1 &
    xvfb=$! # the compositor, stopped at the end
    sleep 1
    (cd "$work" && QT_QPA_PLATFORM=wayland exec ./korvane) >"$work/korvane.log" 2>&1 &
    game=$!
    res=$(dirname "$0")/../../resources
    /usr/bin/convert "$res/Faces.png" -crop 16x16+0+0 -fill '#C0C0C0' -opaque '#800080' "$work/f.png"
    for _ in $(seq 30); do # the face's yellow, 14 x 13 at (1, 1) in its tile
        sleep 0.3
        (cd "$work" && rm -f wayland-*.png && weston-screenshooter && mv wayland-*.png shot.png)
        face=$(/usr/bin/convert "$work/shot.png" -fill black +opaque yellow -format %@ info:)
        [ "${face%%+*}" = 14x13 ] && break
    done 2>/dev/null
    IFS=+ read -r _ x y <<<"$face"
    /usr/bin/convert "$work/shot.png" -crop "16x16+$((x - 1))+$((y - 1))" "$work/c.png"
    cp "$work/shot.png" "$shots/wayland_window.png"
    [ "$(/usr/bin/compare -metric AE "$work/c.png" "$work/f.png" null: 2>&1)" = 0 ] || {
        echo "FAIL: no face drawn pixel for pixel in $shots/wayland_window.png"
        exit 1
    }
    kill -TERM "$game"
    wait "$game"
    grep -q '^Beginner=1' "$work/korvane.ini" || { echo "FAIL: no settings after SIGTERM"; exit 1; }
    [ -s "$work/korvane.log" ] && { echo "FAIL: standard error:"; cat "$work/korvane.log"; exit 1; }
    exit 0
fi

if ! korvane_xvfb "$work/xvfb.log"; then
    echo "Xvfb did not start"
    cat "$work/xvfb.log"
    exit 1
fi
if [ "$mode" = openbox ]; then
    openbox >"$work/openbox.log" 2>&1 &
    wm=$!
    for _ in $(seq 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' && break
        sleep 0.1
    done
    printf '[Settings]\nSurround=0\n' >"$work/korvane.ini"
fi

(cd "$work" && QT_QPA_PLATFORM=xcb exec ./korvane) >"$work/korvane.log" 2>&1 &
game=$!
window=$(korvane_window)
if [ -z "$window" ]; then
    echo "the game window did not appear"
    cat "$work/korvane.log"
    exit 1
fi
sleep 0.5 # let the first paint happen

info=$(xwininfo -id "$window")
width=$(sed -n 's/^ *Width: *//p' <<<"$info")
height=$(sed -n 's/^ *Height: *//p' <<<"$info")
left=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
top=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
echo "window $window: ${width} x ${height} at ${left},${top}"

status=0
want=192 field=231 # 162 pixels needed: a frame under 2 pixels gets a margin column each side
if [ "$mode" = openbox ]; then
    hints() { xprop -id "$1" _MOTIF_WM_HINTS _NET_FRAME_EXTENTS WM_NAME | paste -sd ' '; }
    hints "$window"
    IFS=' ,' read -r l r _ <<<"$(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //')"
    field=199 want=$([ $((l + r)) -ge 2 ] && echo 160 || echo 192)
    [[ $(hints "$window") = *"0x3, 0x2e, 0x3e, 0x0, 0x0"* ]] || { echo "FAIL: hints"; status=1; }
fi
if [ "$width" != $want ]; then
    echo "FAIL: the Beginner window is $width pixels wide, not $want"
    status=1
fi
# Menu bar + field area + status bar: at least the field area.
if [ "$height" -lt $field ] || [ "$height" -gt 320 ]; then
    echo "FAIL: the window is $height pixels high"
    status=1
fi
# Centred on the 1280 x 1024 screen.
if [ $((left + width / 2 - 640)) -gt 1 ] || [ $((640 - left - width / 2)) -gt 1 ]; then
    echo "FAIL: the window is not centred across: left $left"
    status=1
fi

# One click in the middle of the field, then the picture.
xdotool mousemove --window "$window" 96 150 click 1
sleep 0.3
if command -v import >/dev/null 2>&1; then
    shot=$shots/xvfb_window${mode:+_$mode}.png
    import -window "$window" "$shot" && echo "screenshot: $shot"
fi

# Game > Exit ends the program the ordinary way, which saves the settings.
# On a busy machine the menu may open late: try a few times.
attempts="1 2 3" saved=Beginner=1
if [ "$mode" = openbox ]; then
    # Each dialog through the menus: a title bar without buttons, titled
    # exactly with its caption (nothing appended after it).
    for item in "Custom Field:alt+g c" "Custom Shields:alt+o h Down Down Right Up Return" \
        "About Oskavel:alt+h a" "Credits:alt+h Down Return"; do
        xdotool windowfocus --sync "$window" 2>/dev/null
        for key in ${item#*:}; do xdotool key "$key" sleep 0.3; done
        dialog=$(timeout 5 xdotool search --sync --onlyvisible --name "^${item%%:*}\$" | head -n 1)
        hints "$dialog"
        [[ $(hints "$dialog") = *"0x1, 0x6, 0x0, 0x0, 0x0"*"= \"${item%%:*}\""* ]] ||
            { echo "FAIL: hints or title of ${item%%:*}"; status=1; }
        xdotool key Escape sleep 0.3
    done
    # Auto Open, checked by default, off through the menu; then logout's SIGTERM.
    xdotool key alt+o sleep 0.5 key a sleep 0.5
    kill -TERM "$game"
    sleep 1
    attempts= saved=AutoOpen=0
fi
for attempt in $attempts; do
    xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool key alt+g
    sleep $((attempt))
    xdotool key x
    for _ in $(seq 50); do
        kill -0 "$game" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$game" 2>/dev/null || break
    xdotool key Escape Escape
done
if kill -0 "$game" 2>/dev/null; then
    echo "FAIL: the program did not end"
    status=1
elif [ ! -s "$work/korvane.ini" ]; then
    echo "FAIL: no settings file was written at exit"
    status=1
else
    game=
    grep -q "^$saved" "$work/korvane.ini" || {
        echo "FAIL: the settings file lacks $saved"
        status=1
    }
fi
exit $status
