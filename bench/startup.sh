#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time and memory of Korvane against a bare Qt Widgets window
# (bench/startup/BareWindow.cpp: a main window with a menu bar and a label),
# measured from outside on a private Xvfb display by bench/startup/FirstFrame:
# the time from launch to the first frame drawn into the window, and the peak
# resident memory of the whole run (each window is closed a second after its
# first frame, as a window manager closes it). The two programs take turns;
# the medians of several runs are compared.
#
#   bench/startup.sh [build folder] [runs]        (default: build 21)
#
# Korvane runs from a program folder of its own, with the shipped skins and
# fonts beside it and the settings file its first run leaves there.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-21}
for f in korvane bench/bare_window bench/first_frame; do
  [ -x "$build/$f" ] || { echo "missing $build/$f: build the default preset first" >&2; exit 2; }
done
command -v Xvfb >/dev/null || { echo "Xvfb is needed" >&2; exit 2; }

# In memory where possible: the settings file Korvane writes at exit is synced
# to disk, and that traffic would slow whichever program starts next.
if [ -w /dev/shm ]; then work=$(mktemp -d -p /dev/shm); else work=$(mktemp -d); fi
. scripts/xvfb.sh
cleanup() {
  korvane_xvfb_stop
  rm -rf "$work"
}
trap cleanup EXIT

korvane_game_copy "$build/korvane" "$work/korvane"
export XDG_RUNTIME_DIR="$work/korvane/runtime"

korvane_xvfb /dev/null || { echo "Xvfb did not start" >&2; exit 2; }
display=${DISPLAY#:}

measure() { # title program -> "mapped_ms painted_ms peak_kb processor_ms"
  "$build/bench/first_frame" "$1" 1000 "$2"
}

# One run of each first, not counted: files and fonts come into the cache.
measure Korvane "$work/korvane/korvane" >/dev/null
measure "Bare window" "$build/bench/bare_window" >/dev/null

: >"$work/korvane.txt"
: >"$work/bare.txt"
for i in $(seq "$runs"); do
  measure Korvane "$work/korvane/korvane" >>"$work/korvane.txt"
  measure "Bare window" "$build/bench/bare_window" >>"$work/bare.txt"
done

median() { # column file
  awk -v c="$1" '{print $c}' "$2" | sort -g | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'
}
km=$(median 1 "$work/korvane.txt"); kp=$(median 2 "$work/korvane.txt"); kr=$(median 3 "$work/korvane.txt")
bm=$(median 1 "$work/bare.txt"); bp=$(median 2 "$work/bare.txt"); br=$(median 3 "$work/bare.txt")
kc=$(median 4 "$work/korvane.txt"); bc=$(median 4 "$work/bare.txt")
# Each Korvane run against the bare run just after it: a machine that slows
# down for a while slows both sides of those pairs alike.
paste -d' ' "$work/korvane.txt" "$work/bare.txt" | awk '{print $2 / $6}' >"$work/pairs.txt"
pr=$(median 1 "$work/pairs.txt")

awk -v runs="$runs" -v display="$display" -v km="$km" -v kp="$kp" -v kr="$kr" -v kc="$kc" \
    -v bm="$bm" -v bp="$bp" -v br="$br" -v bc="$bc" -v pr="$pr" 'BEGIN {
  printf "Medians of %d runs on Xvfb :%s\n", runs, display
  printf "%-12s %12s %14s %14s %14s\n", "", "mapped (ms)", "first frame", "CPU to frame", "peak RSS (MB)"
  printf "%-12s %12.1f %14.1f %14.1f %14.1f\n", "Korvane", km, kp, kc, kr / 1024
  printf "%-12s %12.1f %14.1f %14.1f %14.1f\n", "Bare window", bm, bp, bc, br / 1024
  ratio = kp / bp; extra = (kr - br) / 1024
  printf "Korvane / bare window: time %.2fx (processor time %.2fx), memory %+.1f MB\n",
    ratio, kc / bc, extra
  printf "Median of the run-by-run time ratios: %.2fx\n", pr
  printf "Within 1.1x of the bare window'"'"'s time: %s; within 2.5 MB of its memory: %s\n",
    ratio <= 1.1 ? "yes" : "no", extra <= 2.5 ? "yes" : "no"
}'
