#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang (in build-fuzz/) and runs each for a
# short, bounded time over its seed corpus. New inputs go to a scratch folder,
# never into the committed corpus; a crash leaves its input as
# build-fuzz/fuzz/<target>-crash-* and makes the script fail.
#
#   fuzz/run.sh [seconds per target] [target...]
#
# Targets: png_tileset ini settings game_actions (all by default).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(png_tileset ini settings game_actions)
build=${KORVANE_FUZZ_BUILD:-build-fuzz}

cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVANE_FUZZ=ON -DKORVANE_TESTS=OFF -DKORVANE_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/%/_fuzzer}"

# fontconfig keeps a little memory to the end on purpose.
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
status=0
for t in "${targets[@]}"; do
  scratch=$(mktemp -d)
  dict=()
  case $t in ini | settings) dict=(-dict=fuzz/settings.dict) ;; esac
  log="$build/fuzz/$t.log"
  if "$build/fuzz/${t}_fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=60 \
    -print_final_stats=1 -artifact_prefix="$build/fuzz/$t-" "${dict[@]}" \
    "$scratch" "fuzz/corpus/$t" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $t: ${runs:-?} inputs in ${seconds}s, no failure"
  else
    echo "fuzz $t: FAILED, see $log"
    grep -E 'ERROR|check failed|SUMMARY|Test unit written' "$log" | head -20 || true
    status=1
  fi
  rm -rf "$scratch"
done
exit $status
