# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages the game needs to build, run and be
# tested, when any is missing. Sourced by play.sh and test.sh.

guardianes_packages=(
  cmake g++ make pkg-config
  libsdl2-dev libfreetype-dev libfontconfig-dev zlib1g-dev
  libgtest-dev libbenchmark-dev
  fonts-liberation fonts-comic-neue fonts-dejavu-core
  xvfb xdotool libx11-dev openbox x11-utils
  x11-xserver-utils desktop-file-utils appstream dpkg-dev imagemagick
  lintian help2man man-db groff-base
  clang-14 clang-format-14 libclang-rt-14-dev libxtst-dev
  emscripten nodejs chromium chromium-driver python3-selenium
  g++-mingw-w64-x86-64-posix wine wine64
)

install_missing_packages() {
  local missing=()
  local package
  for package in "${guardianes_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
