#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the game under a private X server and saves a screenshot.
# usage: scripts/shot.sh PROGRAM OUT.png [xdotool commands run against the window...]
set -euo pipefail
prog=$1; out=$2; shift 2
. "$(dirname "$0")/xvfb.sh"
gpid=
trap 'korvane_game_stop "$gpid"; korvane_xvfb_stop' EXIT
korvane_xvfb /dev/null || { echo "Xvfb did not start" >&2; exit 1; }
"$prog" &
gpid=$!
win=$(korvane_window)
[ -n "$win" ] || { echo "no window" >&2; exit 1; }
sleep 0.5
for cmd in "$@"; do eval "$cmd"; sleep 0.2; done
import -window "$win" "$out"
xwininfo -id "$win" | grep -E 'Width|Height|Absolute' || true
