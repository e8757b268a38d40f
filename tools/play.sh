#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building and running the game needs, when missing, builds
# the game and starts it. The tests' tools are tools/test.sh's to install.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
install_missing_packages play
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target guardianes
exec ./build/app/guardianes "$@"
