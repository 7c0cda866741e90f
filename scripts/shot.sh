#!/usr/bin/env bash
# Starts the game under a private X server and saves a screenshot.
# usage: scripts/shot.sh PROGRAM OUT.png [xdotool commands run against the window...]
set -euo pipefail
prog=$1; out=$2; shift 2
export DISPLAY=:${KORVANE_DISPLAY:-77}
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xpid=$!
trap 'kill $gpid $xpid 2>/dev/null || true' EXIT
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
"$prog" &
gpid=$!
win=
for _ in $(seq 100); do
  win=$(xdotool search --onlyvisible --name '^Korvane$' 2>/dev/null | head -1 || true)
  [ -n "$win" ] && break; sleep 0.1
done
[ -n "$win" ] || { echo "no window" >&2; exit 1; }
sleep 0.5
for cmd in "$@"; do eval "$cmd"; sleep 0.2; done
import -window "$win" "$out"
xwininfo -id "$win" | grep -E 'Width|Height|Absolute' || true
