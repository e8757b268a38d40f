#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The game in a browser: installs what is missing, builds the static site
# into build-web/site/ and serves it at http://127.0.0.1:8000/ until
# interrupted. The folder also works opened straight from disk, and can be
# published as it is on any static web host.
#   bash tools/web.sh                 build and serve
#   bash tools/web.sh --build-only    only build
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
  "" | --build-only) ;;
  *) echo "usage: bash tools/web.sh [--build-only]" >&2; exit 2 ;;
esac
source tools/deps.sh
install_missing_packages
# The glyphs are baked by the desktop build's own font code.
cmake -S . -B build >/dev/null
cmake --build build -j2 --target guardianes-bake-glyphs
bash tools/build-web.sh build/tools/glyphs/guardianes-bake-glyphs
echo "The site is in build-web/site/."
[ "${1:-}" = --build-only ] && exit 0
echo "Serving the game at http://127.0.0.1:8000/ (Ctrl+C stops)"
exec /usr/bin/python3 -m http.server 8000 --bind 127.0.0.1 --directory build-web/site
