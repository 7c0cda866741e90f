# Installs the Debian packages the build and the tests need, when missing.
# Sourced by scripts/run and scripts/test.
korvane_install_deps() {
  local pkgs=(qt6-base-dev libpng-dev libcanberra-dev libgtest-dev libbenchmark-dev cmake g++
              ninja-build pkg-config xvfb xauth xdotool x11-utils imagemagick clang-format
              clang libclang-rt-14-dev openbox weston qt6-wayland lintian desktop-file-utils
              dpkg-dev appstream xfwm4 icewm fluxbox wmctrl libxcb1-dev)
  local missing=()
  for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
