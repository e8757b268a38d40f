# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that one use of the game needs, when any
# is missing: `install_missing_packages play` what building and running the
# desktop game needs, `install_missing_packages web` what building and
# serving the browser's site needs, `install_missing_packages lighthouse`
# npm, which bench/lighthouse.sh installs Lighthouse with, and with no
# argument everything but npm, the tests' tools too. Sourced by play.sh,
# web.sh, test.sh and the measuring scripts.

# The painter and the fonts it draws with, and the translations compiled
# with msgfmt: the game's, and the desktop's tools' that bake the browser's
# glyphs and paint its icons.
guardianes_painter_packages=(
  cmake make pkg-config libfreetype-dev libfontconfig-dev zlib1g-dev gettext
  fonts-liberation fonts-comic-neue fonts-dejavu-core
)
# The desktop game: its window and sound through SDL2 on X11, and its
# manual page.
guardianes_game_packages=(g++ libsdl2-dev libx11-dev help2man)
# The browser's site: Emscripten, whose clang builds the desktop's tools
# too, and Python for the site's last build step and for serving it.
guardianes_site_packages=(emscripten nodejs python3)
# The tests, the benchmarks and the Windows build.
guardianes_test_packages=(
  libgtest-dev libbenchmark-dev
  xvfb xdotool openbox x11-utils
  x11-xserver-utils desktop-file-utils appstream dpkg-dev imagemagick
  lintian man-db groff-base
  clang-14 clang-format-14 libclang-rt-14-dev libxtst-dev
  chromium chromium-driver python3-selenium
  g++-mingw-w64-x86-64-posix wine wine64 locales
)

# npm, for bench/lighthouse.sh alone.
guardianes_lighthouse_packages=(npm)

# install_missing_packages [play|web|lighthouse]
install_missing_packages() {
  local sets
  case "${1-}" in
    "") sets=(game site test) ;;
    play) sets=(game) ;;
    web) sets=(site) ;;
    lighthouse) sets=(lighthouse) ;;
    *) echo "install_missing_packages: no package set '$1'" >&2; return 2 ;;
  esac
  local wanted=("${guardianes_painter_packages[@]}") set list
  for set in "${sets[@]}"; do
    list="guardianes_${set}_packages[@]"
    wanted+=("${!list}")
  done
  local missing=()
  local package
  for package in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
