#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang and runs each for SECONDS (60 unless
# given), or only the one named, growing build-fuzz/corpus/TARGET:
#   bash fuzz/run.sh [SECONDS] [game|script]
# An input that breaks the game fails the run: keep it in
# fuzz/regressions/TARGET/, where the test suite replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
targets=${2:-game script}
build=${GUARDIANES_FUZZ_BUILD:-build-fuzz}

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DGUARDIANES_FUZZ=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target $(printf 'guardianes-fuzz-%s ' $targets)

for target in $targets; do
  corpus=$build/corpus/$target
  artifacts=$build/artifacts/$target
  mkdir -p "$corpus" "$artifacts"
  echo "Fuzzing $target for $seconds s"
  status=0
  "$build/fuzz/guardianes-fuzz-$target" -max_total_time="$seconds" -timeout=60 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" "fuzz/seeds/$target" "fuzz/regressions/$target" \
    >"$build/fuzz-$target.log" 2>&1 || status=$?
  if [ "$status" != 0 ]; then
    grep -E 'broken rule|script reader|ERROR|SUMMARY|Test unit written' "$build/fuzz-$target.log" || tail -n 30 "$build/fuzz-$target.log"
    echo "The $target fuzz target found a fault: keep the input above in fuzz/regressions/$target/"
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/fuzz-$target.log")
  events=$(sed -n 's/^game events played: //p' "$build/fuzz-$target.log")
  echo "$target: $runs inputs${events:+ ($events events)} in $seconds s, no rule broken"
done
