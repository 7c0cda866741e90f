# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages this project needs, when missing: what
# building needs and, unless only the build is asked for, what the tests add.
# Sourced by scripts/run, scripts/test and scripts/package.sh.

# Building the game and its Debian package (dpkg-dev computes the package's
# dependencies, lintian checks it).
korvane_build_packages=(qt6-base-dev libpng-dev libcanberra-dev cmake g++ ninja-build pkg-config
                        libxcb1-dev dpkg-dev lintian)
# What the tests, benchmarks, fuzzing and the style check add.
korvane_test_packages=(libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils imagemagick
                       clang-format clang libclang-rt-14-dev openbox weston qt6-wayland
                       desktop-file-utils appstream libsm-dev libice-dev
                       xfwm4 icewm fluxbox wmctrl)

# usage: korvane_install_deps [build]
korvane_install_deps() {
  local pkgs=("${korvane_build_packages[@]}")
  [ "${1:-}" = build ] || pkgs+=("${korvane_test_packages[@]}")
  local missing=()
  for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "These Debian packages are missing: ${missing[*]}" >&2
      echo "You are not root and sudo is not installed. Install them as root, then run this again:" >&2
      echo "  su -c 'apt-get update && apt-get install --no-install-recommends ${missing[*]}'" >&2
      return 1
    fi
    sudo=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
