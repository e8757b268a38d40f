#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The game's figures in headless Chromium: start-up (served, first and later
# visits, and the one-file game from file://), the idle
# menu's main-thread work, the wake-up schedule of the closing scene, the
# painting figures as ratios to a fill measured in the same run, and the
# site's size. Builds the site and the painting page first; the status is 1
# when a target is missed.
#   bash bench/web.sh
set -euo pipefail
cd "$(dirname "$0")/.."
# Chromium is the tests' to install, not the site's.
source tools/deps.sh
install_missing_packages
bash tools/web.sh --build-only >/dev/null
NODE_PATH=/usr/share/nodejs EMSDK_PYTHON=/usr/bin/python3 cmake --build build-web -j2 --target guardianes-web-bench >/dev/null
exec /usr/bin/python3 bench/web_bench.py build-web/site build-web/bench
