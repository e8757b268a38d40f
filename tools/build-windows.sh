#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiles the Windows programs with Debian's MinGW-w64 into
# build-windows/: guardianes.exe, guardianes-sim.exe and
# guardianes-VERSION-windows-x64.zip. The glyphs and the icon come from a
# desktop build's guardianes-bake-glyphs and guardianes-icon: DESKTOP_BUILD's
# when given (already built, as the tests do), otherwise build/'s, built
# first. It installs nothing: tools/test.sh does that.
#   bash tools/build-windows.sh [DESKTOP_BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -gt 1 ] || [[ ${1-} == -* ]]; then
  echo "usage: bash tools/build-windows.sh [DESKTOP_BUILD] (a desktop build folder)" >&2
  exit 2
fi
desktop=${1-build}
if [ $# -eq 0 ]; then
  cmake -S . -B "$desktop" >/dev/null
  cmake --build "$desktop" -j"$(nproc)" --target guardianes-bake-glyphs guardianes-icon
fi
bake=$(realpath "$desktop/tools/glyphs/guardianes-bake-glyphs")
icon=$(realpath "$desktop/tools/icon/guardianes-icon")
for tool in "$bake" "$icon"; do
  [ -x "$tool" ] || { echo "build-windows: no $tool (build the desktop's tools first)" >&2; exit 2; }
done
if [ ! -f build-windows/CMakeCache.txt ] || ! grep -q "GUARDIANES_BAKE_GLYPHS:FILEPATH=$bake\$" build-windows/CMakeCache.txt ||
  ! grep -q "GUARDIANES_ICON:FILEPATH=$icon\$" build-windows/CMakeCache.txt; then
  cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DGUARDIANES_BAKE_GLYPHS="$bake" -DGUARDIANES_ICON="$icon" >/dev/null
fi
cmake --build build-windows -j"${GUARDIANES_JOBS:-$(nproc)}"
