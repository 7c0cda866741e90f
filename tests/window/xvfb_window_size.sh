#!/usr/bin/env bash
# Runs the built program on a virtual X server without a window manager and
# checks its real window: a Beginner field with Surroundings on is 192 pixels
# wide, and with no frame the outer and inner sizes agree. Saves a screenshot
# after one click into the field, then leaves through Game > Exit and checks
# that the settings file was written beside the program.
#
# Usage: xvfb_window_size.sh PROGRAM SCREENSHOT_DIR
# Exit 77 (skipped) when Xvfb or the X tools are not installed.
set -u

program=$1
shots=$2

for tool in Xvfb xdotool xwininfo xdpyinfo; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done
if [ ! -x "$program" ]; then
    echo "no program at $program"
    exit 1
fi

work=$(mktemp -d)
xvfb=
game=
cleanup() {
    if [ -n "$game" ] && kill -0 "$game" 2>/dev/null; then
        kill "$game" 2>/dev/null
        wait "$game" 2>/dev/null
    fi
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null
        wait "$xvfb" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# The program writes its settings beside itself: run a copy.
folder=$(dirname "$program")
cp "$program" "$work/korvane"
for sub in Skins Fonts; do
    [ -d "$folder/$sub" ] && cp -r "$folder/$sub" "$work/"
done

# A free display of our own: a server that dies at once lost the race for
# its number to another one, so take the next.
display=
for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -nolisten tcp -noreset -screen 0 1280x1024x24 >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do
        kill -0 "$xvfb" 2>/dev/null || break
        DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    if kill -0 "$xvfb" 2>/dev/null && DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        display=":$n"
        break
    fi
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    xvfb=
done
if [ -z "$display" ]; then
    echo "could not start Xvfb on any display between :91 and :140"
    cat "$work/xvfb.log"
    exit 1
fi
export DISPLAY=$display

(cd "$work" && QT_QPA_PLATFORM=xcb exec ./korvane) >"$work/korvane.log" 2>&1 &
game=$!
window=
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Korvane$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
done
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
if [ "$width" != 192 ]; then
    echo "FAIL: the Beginner window is $width pixels wide, not 192"
    status=1
fi
# Menu bar + 231 + status bar: at least the 231 of the layout arithmetic.
if [ "$height" -lt 231 ] || [ "$height" -gt 320 ]; then
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
    import -window "$window" "$shots/xvfb_window.png" && echo "screenshot: $shots/xvfb_window.png"
fi

# Game > Exit ends the program the ordinary way, which saves the settings.
# On a busy machine the menu may open late: try a few times.
for attempt in 1 2 3; do
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
    echo "FAIL: Game > Exit did not end the program"
    status=1
elif [ ! -s "$work/korvane.ini" ]; then
    echo "FAIL: no settings file was written at exit"
    status=1
else
    game=
    grep -q '^Beginner=1' "$work/korvane.ini" || {
        echo "FAIL: the settings file lacks Beginner=1"
        status=1
    }
fi
exit $status
