#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Memcheck of a start-up and shut-down of Korvane on a private Xvfb display:
# the program starts under valgrind, shows its first game, and is closed with
# Game > Exit. Prints valgrind's leak summary and every loss record whose
# stack passes through Korvane's own sources; exits 1 if there is one.
# Slow (a minute or more), so not part of scripts/test.
#
#   scripts/valgrind-startup.sh [build folder]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build}
[ -x "$build/korvane" ] || { echo "missing $build/korvane" >&2; exit 2; }
for tool in valgrind Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 2; }
done

. scripts/xvfb.sh
work=$(mktemp -d)
cleanup() {
  korvane_xvfb_stop
  rm -rf "$work"
}
trap cleanup EXIT

korvane_game_copy "$build/korvane" "$work/korvane"
export XDG_RUNTIME_DIR="$work/korvane/runtime"

korvane_xvfb /dev/null || { echo "Xvfb did not start" >&2; exit 2; }

log="$work/memcheck.log"
valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect,possible \
  --num-callers=50 --fullpath-after= --log-file="$log" "$work/korvane/korvane" &
program=$!

window=$(korvane_window 1200)
[ -n "$window" ] || { echo "no Korvane window within two minutes" >&2; kill "$program"; exit 1; }
sleep 2
# Menu accelerators reach Qt only through the focused window.
xdotool windowfocus --sync "$window"
xdotool key alt+g
sleep 2
xdotool key x
for _ in $(seq 600); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$program" 2>/dev/null; then
  echo "Korvane did not exit through Game > Exit" >&2
  kill "$program"
  exit 1
fi
wait "$program" || true

cp "$log" "$build/valgrind-startup.log"
echo "== valgrind summary (whole log: $build/valgrind-startup.log)"
sed -n '/HEAP SUMMARY/,$p' "$log" | sed 's/^==[0-9]*== //' | grep -E 'in use at exit|definitely|indirectly|possibly|still reachable|ERROR SUMMARY' || true
[ -f "$work/korvane/korvane.ini" ] && echo "settings written at exit: yes"

# Loss records allocated by our own code: the first frame past the allocator
# lies in one of our sources. Records that merely pass through our code on
# their way into Qt, fontconfig or X (caches kept for the whole run) are not.
ours=$(awk -v root="$root/" '
  /are (definitely|indirectly|possibly) lost in loss record/ { record = $0; inrec = 1; first = 1; hit = 0; next }
  inrec && /^==[0-9]+== *$/ { if (hit) print record; inrec = 0; next }
  inrec {
    record = record "\n" $0
    if (first && $0 !~ /(malloc|calloc|realloc|memalign|operator new|vgpreload)/) {
      first = 0
      if (index($0, root)) hit = 1
    }
  }
' "$log")
if [ -n "$ours" ]; then
  echo "== loss records allocated by Korvane's code"
  echo "$ours" | sed 's/^==[0-9]*== //'
  exit 1
fi
echo "No loss record was allocated by Korvane's code."
