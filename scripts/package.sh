#!/usr/bin/env bash
# Builds the Debian package korvane_<version>_<arch>.deb from a clean build
# folder (the system build: settings and the player's own sets in the
# player's home) and checks it with lintian, which must report no error.
#
# usage: scripts/package.sh [BUILD_DIR]     (default build-deb)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
korvane_install_deps

build=${1:-build-deb}
rm -rf "$build"
# Debian's hardening flags (fortified functions, immediate binding).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKORVANE_SYSTEM_INSTALL=ON -DKORVANE_TESTS=OFF -DKORVANE_BENCH=OFF
cmake --build "$build" -j "$(nproc)"
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/korvane_*.deb)
echo "== lintian $deb"
# Exits non-zero on any error. Informational tags are listed too.
lintian --display-info "$deb"
echo "$deb"
