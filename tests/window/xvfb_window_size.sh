#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the built program on a virtual X server without a window manager and
# checks its real window: a Beginner field with Surroundings on is 192 pixels
# wide, and with no frame the outer and inner sizes agree. Saves a screenshot
# after one click into the field, then leaves through Game > Exit and checks
# that the settings file was written beside the program.
# "openbox", "xfwm4", "icewm", "fluxbox" (and, outside the test suite, "kwin"
# and "mutter"): under that window manager with Surroundings off, the window
# is mapped with the width its frame calls for and never resized after, its
# outer rectangle is centred on the screen, the main window and each dialog ask
# for their buttons, each dialog opens at the same place the first time and the
# second, a full-screen and a maximise request leave the window where and as it
# was, and SIGTERM after a menu change keeps it.
# "wayland": under weston's headless compositor the face is drawn pixel for
# pixel, SIGTERM writes the settings, and nothing reaches standard error.
#
# Usage: xvfb_window_size.sh PROGRAM SCREENSHOT_DIR [WINDOW_MANAGER|wayland]
# Exit 77 (skipped) when Xvfb, the X tools or that mode's programs are missing.
set -u

program=$1
shots=$2
mode=${3:-}

wm_program=$mode
[ "$mode" = kwin ] && wm_program=kwin_x11
# These take their settings over a session bus: they get a private one.
case $mode in xfwm4 | kwin | mutter) wm_program+=" dbus-daemon" ;; esac
tools="Xvfb xdotool xwininfo xdpyinfo $wm_program"
[ -n "$mode" ] && tools+=" wmctrl xev /usr/bin/compare"
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
    [ -n "${xev:-}" ] && kill "$xev" 2>/dev/null
    [ -n "$bus" ] && kill "$bus" 2>/dev/null
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
bus=
if [ -n "$mode" ]; then
    address=
    if [[ $wm_program = *dbus-daemon ]]; then
        read -r address bus < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 |
            paste -sd' ')
    fi
    case $mode in
        xfwm4) set -- xfwm4 --compositor=off ;;
        kwin) set -- kwin_x11 --replace ;;
        mutter) set -- mutter --x11 --replace ;;
        *) set -- "$mode" ;;
    esac
    DBUS_SESSION_BUS_ADDRESS=$address "$@" >"$work/wm.log" 2>&1 &
    wm=$!
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' && break
        sleep 0.1
    done
    sleep 0.5 # the manager's own windows (icewm's task bar) settle
    printf '[Settings]\nSurround=0\n' >"$work/korvane.ini"
    # Every window mapped on the screen, from before the game starts: a
    # manager's frame is a child of the root window.
    xev -root -event substructure >"$work/xev.log" 2>&1 &
    xev=$!
    sleep 0.3
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
# outer WINDOW: "left top width height" of the window with its frame.
outer() {
    local info l r t b
    info=$(xwininfo -id "$1")
    IFS=' ,' read -r l r t b <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p')"
    echo "$(($(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info") - ${l:-0}))" \
        "$(($(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info") - ${t:-0}))" \
        "$(($(sed -n 's/^ *Width: *//p' <<<"$info") + ${l:-0} + ${r:-0}))" \
        "$(($(sed -n 's/^ *Height: *//p' <<<"$info") + ${t:-0} + ${b:-0}))"
}
if [ -n "$mode" ]; then
    hints() { xprop -id "$1" _MOTIF_WM_HINTS _NET_FRAME_EXTENTS WM_NAME | paste -sd ' '; }
    hints "$window"
    IFS=' ,' read -r l r _ <<<"$(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //')"
    field=199 want=$([ $((l + r)) -ge 2 ] && echo 160 || echo 192)
    [[ $(hints "$window") = *"0x3, 0x2e, 0x3e, 0x0, 0x0"* ]] || { echo "FAIL: hints"; status=1; }
    # The window's top-level (the manager's frame) from the moment it was
    # mapped: no other width than the final one, no flash of another layout.
    top=$window
    for _ in 1 2 3 4 5; do
        tree=$(xwininfo -id "$top" -tree)
        [[ $tree = *"Parent window id: "*"(the root window)"* ]] && break
        top=$(sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p' <<<"$tree")
    done
    # The top-level's own width: fluxbox draws its side borders as the X
    # border of the top-level, outside that width.
    frame_width=$(xwininfo -id "$top" | sed -n 's/^ *Width: *//p')
    # xev prints an event's lines, then a blank one; the second line names
    # the window the event is about.
    widths=$(awk -v w="$(printf '0x%x' "$top")" '
        / event, serial / { kind = $1; next }
        kind != "" && $3 == "window" {
            if ($4 == w ",") {
                if (kind == "CreateNotify" || kind == "ConfigureNotify") { sub(",", "", $7); width = $7 }
                if (kind == "MapNotify" || mapped && kind == "ConfigureNotify") { mapped = 1; print width }
            }
            kind = ""
        }' "$work/xev.log" | sort -u | paste -sd' ')
    echo "top-level $top mapped at widths: $widths"
    for w in $widths; do
        # Another layout differs by a margin column on each side, 32 pixels
        # at least; kwin maps its frame 1 pixel wide before sizing it and
        # mutter widens its own by 2 pixels after mapping, which is no layout.
        d=$((w - frame_width))
        [ "$w" -gt 1 ] && [ ${d#-} -ge 32 ] || continue
        echo "FAIL: mapped $w wide before settling at $frame_width"
        status=1
    done
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
if [ -n "$mode" ]; then
    # The outer rectangle, frame included, is what is centred (up to the
    # halving of an odd size).
    read -r ol ot ow oh <<<"$(outer "$window")"
    echo "outer ${ow} x ${oh} at ${ol},${ot}: centre $((ol + ow / 2)),$((ot + oh / 2))"
    dx=$((ol + ow / 2 - 640)) dy=$((ot + oh / 2 - 512))
    [ ${dx#-} -le 1 ] && [ ${dy#-} -le 1 ] || { echo "FAIL: the outer window is not centred"; status=1; }
    # A full-screen request and then a maximise request, each taken back: the
    # window comes back where and as it was, pixel for pixel.
    xdotool mousemove 0 0
    import -window "$window" "$work/before.png"
    for state in fullscreen maximized_vert,maximized_horz; do
        wmctrl -i -r "$window" -b "add,$state"
        sleep 1
        wmctrl -i -r "$window" -b "remove,$state"
        for _ in $(seq 30); do # a busy machine: until the window is back, or 3 s
            sleep 0.1
            [ "$(outer "$window")" = "$ol $ot $ow $oh" ] && break
        done
        for _ in $(seq 30); do # and repainted: until it looks as before, or 3 s
            sleep 0.1
            import -window "$window" "$work/after.png"
            [ "$(/usr/bin/compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1)" = 0 ] &&
                break
        done
        read -r al at aw ah <<<"$(outer "$window")"
        [ "$al $at $aw $ah" = "$ol $ot $ow $oh" ] ||
            { echo "FAIL: after $state the window is $aw x $ah at $al,$at"; status=1; }
        [ "$(/usr/bin/compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1)" = 0 ] || {
            cp "$work/after.png" "$shots/xvfb_window_${mode}_after_$state.png"
            echo "FAIL: the window looks different after $state"
            status=1
        }
    done
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
if [ -n "$mode" ]; then
    # Each dialog through the menus, twice: a title bar without buttons, titled
    # exactly with its caption (nothing appended after it), and the first
    # opening, which builds the dialog, lands where the second does.
    for item in "Custom Field:alt+g c" "Custom Shields:alt+o h Down Down Right Up Return" \
        "About Oskavel:alt+h a" "Credits:alt+h Down Return"; do
        places=
        for _ in 1 2; do
            xdotool windowfocus --sync "$window" 2>/dev/null
            for key in ${item#*:}; do xdotool key "$key" sleep 0.3; done
            dialog=$(timeout 5 xdotool search --sync --onlyvisible --name "^${item%%:*}\$" | head -n 1)
            sleep 0.3
            hints "$dialog"
            [[ $(hints "$dialog") = *"0x1, 0x6, 0x0, 0x0, 0x0"*"= \"${item%%:*}\""* ]] ||
                { echo "FAIL: hints or title of ${item%%:*}"; status=1; }
            places+="$(outer "$dialog" | cut -d' ' -f1,2);"
            xdotool key Escape sleep 0.3
        done
        echo "${item%%:*} at ${places%;}"
        [ "${places%%;*}" = "$(cut -d';' -f2 <<<"$places")" ] ||
            { echo "FAIL: ${item%%:*} opens first at ${places%%;*}, then elsewhere"; status=1; }
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

if [ -n "$mode" ] && [ -z "$game" ]; then
    # A stored field far beyond the screen: limited at start-up with the real
    # frame, so the window fits the work area, and Game > Custom... then OK
    # without a change keeps the field as it is.
    printf '[Field]\nBeginner=0\nCustom=1\nWidth=1000\nHeight=1000\nBombs=100000\nWalls=100000\n' \
        >"$work/korvane.ini"
    (cd "$work" && QT_QPA_PLATFORM=xcb exec ./korvane) >>"$work/korvane.log" 2>&1 &
    game=$!
    window=$(korvane_window)
    sleep 1
    read -r ol ot ow oh <<<"$(outer "$window")"
    # A manager that publishes no work area (kwin here) leaves the screen.
    IFS=' ,' read -r ax ay aw ah _ <<<"$(xprop -root _NET_WORKAREA | sed -n 's/.*= //p')"
    [ -n "${ah:-}" ] || read -r ax ay aw ah <<<"0 0 1280 1024"
    echo "large field: outer $ow x $oh at $ol,$ot in the work area $aw x $ah at $ax,$ay"
    if [ "$ol" -lt "$ax" ] || [ "$ot" -lt "$ay" ] || [ $((ol + ow)) -gt $((ax + aw)) ] ||
        [ $((ot + oh)) -gt $((ay + ah)) ]; then
        echo "FAIL: the large field's window leaves the work area"
        status=1
    fi
    xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool key alt+g sleep 0.3 key c
    timeout 5 xdotool search --sync --onlyvisible --name '^Custom Field$' >/dev/null
    xdotool sleep 0.3 key Return sleep 1
    read -r _ _ nw nh <<<"$(outer "$window")"
    [ "$nw x $nh" = "$ow x $oh" ] ||
        { echo "FAIL: OK in Game > Custom... changed the field: $nw x $nh"; status=1; }
fi
exit $status
