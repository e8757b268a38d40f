#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every package the tests need, when missing (the game's and the
# site's too), builds everything and runs every test: first as the game is
# built for play, then the suite again under the address and
# undefined-behaviour sanitizers (all but the browser's and Windows' tests),
# halting at the first error, and last each fuzz target for a minute.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
install_missing_packages
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)"
# A build that found no GoogleTest has no tests: that is a failure here.
ctest --test-dir build --output-on-failure --no-tests=error -j"$(nproc)"

# The browser's and Windows' programs are built by their own compilers,
# without the sanitizers, so their tests run in the first pass only.
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-asan -DCMAKE_CXX_FLAGS="$sanitizers" >/dev/null
cmake --build build-asan -j"$(nproc)"
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
  LSAN_OPTIONS=suppressions=$PWD/tools/lsan-suppressions.txt:print_suppressions=0 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure --no-tests=error -j"$(nproc)" --label-exclude 'web|windows'

bash fuzz/run.sh 60
