#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package korvane_<version>_<arch>.deb from a clean build
# folder (the system build: settings and the player's own sets in the
# player's home) and checks it with lintian --pedantic, which must report no
# error and no warning. Installs only what building needs.
#
# Two runs on the same commit give the same bytes, wherever the tree lies:
# file times come from the last commit (SOURCE_DATE_EPOCH) and the compiler
# writes the tree's path as "." (dpkg-buildflags' -ffile-prefix-map).
#
# usage: scripts/package.sh [BUILD_DIR]     (default build-deb, inside the tree)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
korvane_install_deps build

build=${1:-build-deb}
rm -rf "$build"
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || stat -c %Y CMakeLists.txt)
fi
export SOURCE_DATE_EPOCH
# Debian's hardening flags (fortified functions, immediate binding).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKORVANE_SYSTEM_INSTALL=ON -DKORVANE_TESTS=OFF -DKORVANE_BENCH=OFF
cmake --build "$build" -j "$(nproc)"
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/korvane_*.deb)
echo "== lintian --pedantic $deb"
lintian --pedantic --display-info --fail-on error,warning "$deb"
echo "$deb"
