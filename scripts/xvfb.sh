# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by every script that runs the game in a real window: a private X
# server on a display nobody holds, and the game's window found on it.

# korvane_xvfb LOG [SCREEN]: starts Xvfb and exports DISPLAY. The server picks
# a free display number itself (-displayfd), so parallel runs never collide.
# -noreset: without it the server restarts whenever its last client leaves,
# and a program started in that moment cannot connect. XVFB_PID holds the
# server; korvane_xvfb_stop ends it. Fails when no server comes up. Without
# an XDG_RUNTIME_DIR of the caller's, the game gets a private one (mode 0700,
# as Qt asks), removed with the server.
korvane_xvfb() {
    local log=$1 screen=${2:-1280x1024x24} number= _
    local numfile
    if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
        KORVANE_RUNTIME=$(mktemp -d "${TMPDIR:-/tmp}/korvane-runtime.XXXXXX")
        export XDG_RUNTIME_DIR=$KORVANE_RUNTIME
    fi
    numfile=$(mktemp "${TMPDIR:-/tmp}/korvane-display.XXXXXX")
    Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 "$screen" 3>"$numfile" >"$log" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 200); do
        number=$(tr -dc 0-9 <"$numfile")
        [ -n "$number" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    rm -f "$numfile"
    if [ -z "$number" ]; then
        korvane_xvfb_stop
        return 1
    fi
    export DISPLAY=":$number"
}

korvane_xvfb_stop() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    XVFB_PID=
    if [ -n "${KORVANE_RUNTIME:-}" ]; then
        rm -rf "$KORVANE_RUNTIME"
        [ "${XDG_RUNTIME_DIR:-}" = "$KORVANE_RUNTIME" ] && unset XDG_RUNTIME_DIR
        KORVANE_RUNTIME=
    fi
}

# korvane_game_stop PID: ends the game as a logout does (SIGTERM, settings
# saved) and waits for it, so that its display is never taken away under it.
korvane_game_stop() {
    [ -n "${1:-}" ] || return 0
    kill -TERM "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# korvane_window [TENTHS]: prints the id of the game's visible main window
# (Qt's hidden leader window has the same name), waiting up to TENTHS tenths
# of a second; prints nothing when none shows.
korvane_window() {
    local win= _
    for _ in $(seq "${1:-100}"); do
        win=$(xdotool search --onlyvisible --name '^Korvane$' 2>/dev/null | head -1 || true)
        [ -n "$win" ] && break
        sleep 0.1
    done
    echo "$win"
}

# korvane_game_copy PROGRAM DIR: a copy of the program in a folder of its own,
# with the skins and fonts found beside it; the settings file written at exit
# lands there. With DIR/runtime as XDG_RUNTIME_DIR, Qt finds a private one.
korvane_game_copy() {
    local from sub
    from=$(dirname "$1")
    mkdir -p "$2" && mkdir -m 700 -p "$2/runtime"
    cp "$1" "$2/korvane"
    for sub in Skins Fonts; do
        [ -d "$from/$sub" ] && cp -r "$from/$sub" "$2/"
    done
    return 0
}
