#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds guardianes-bench for speed and runs it. Every figure is a median,
# printed with its ratio to the machine's limit measured in the same run;
# the status is 1 when a target is missed. Arguments go to Google
# Benchmark, for example --benchmark_filter=tick.
#
#   bash bench/run.sh        (builds in build-release first)
#
# GUARDIANES_BUILD names another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
install_missing_packages

build=${GUARDIANES_BUILD:-build-release}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target guardianes-bench guardianes-sim >/dev/null
exec "$build/bench/guardianes-bench" "$@"
