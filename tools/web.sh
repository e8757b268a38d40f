#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The game in a browser: installs what building and serving the site needs,
# when missing, builds the static site into build-web/site/ (and the
# one-file game build-web/guardianes.html) and serves it at
# http://127.0.0.1:8000/ until interrupted, as a careful host would: under a
# strict Content-Security-Policy, with the right types. The folder also
# works opened straight from disk, and can be published as it is on any
# static web host.
#   bash tools/web.sh                 build and serve
#   bash tools/web.sh --build-only    only build
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
  "" | --build-only) ;;
  *) echo "usage: bash tools/web.sh [--build-only]" >&2; exit 2 ;;
esac
source tools/deps.sh
install_missing_packages web
# The glyphs are baked and the icons painted by the desktop's own code,
# built alone in build-tools/ by the clang that Emscripten brings: the site
# needs neither the desktop game nor its compiler.
cmake -S . -B build-tools -DCMAKE_CXX_COMPILER=clang++-14 -DGUARDIANES_TOOLS_ONLY=ON >/dev/null
cmake --build build-tools -j2 --target guardianes-bake-glyphs guardianes-icon
bash tools/build-web.sh build-tools/tools/glyphs/guardianes-bake-glyphs build-tools/tools/icon/guardianes-icon
echo "The site is in build-web/site/, the one-file game is build-web/guardianes.html."
[ "${1:-}" = --build-only ] && exit 0
exec /usr/bin/python3 tools/serve_site.py build-web/site 8000
