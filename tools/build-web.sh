#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the browser's site into build-web/site/, and the one-file game
# build-web/guardianes.html, with Debian's Emscripten, baking the glyphs and
# painting the icons with a desktop build's guardianes-bake-glyphs and
# guardianes-icon. It installs nothing: tools/web.sh does that, and the
# browser tests run this.
#   bash tools/build-web.sh BAKE_GLYPHS_PROGRAM ICON_PROGRAM
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -ne 2 ] || [ ! -x "$1" ] || [ ! -x "$2" ]; then
  echo "usage: bash tools/build-web.sh BAKE_GLYPHS_PROGRAM ICON_PROGRAM" \
       "(a desktop build's guardianes-bake-glyphs and guardianes-icon)" >&2
  exit 2
fi
bake=$(realpath "$1")
icon=$(realpath "$2")
# Debian's emcc runs its JavaScript tools with Debian's node and finds their
# modules only through NODE_PATH. Its system libraries come prebuilt in a
# frozen cache under /usr/share/emscripten, which holds every library this
# build links, so nothing is ever built into it and it may stay read-only.
export NODE_PATH=/usr/share/nodejs
# emcc is a Python program; Debian's own Python runs it, whatever python3 comes first on PATH.
export EMSDK_PYTHON=/usr/bin/python3
if [ ! -f build-web/CMakeCache.txt ] || ! grep -q "GUARDIANES_BAKE_GLYPHS:FILEPATH=$bake\$" build-web/CMakeCache.txt ||
   ! grep -q "GUARDIANES_ICON:FILEPATH=$icon\$" build-web/CMakeCache.txt; then
  emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DGUARDIANES_BAKE_GLYPHS="$bake" \
    -DGUARDIANES_ICON="$icon" >/dev/null
fi
cmake --build build-web -j2
