#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures the Windows build: the sizes of guardianes.exe and the zip, and,
# under Wine in a virtual X display beside the Linux desktop game in the
# same run, the time from start to the menu's first frame (the median of
# five starts after one to warm up) and the CPU time of the idle menu over
# 10 s. Prints one line per figure with its target; the status is 1 when a
# target is missed.
#
#   bash tools/measure-windows.sh     (builds both first, in build/ and build-windows/)
set -euo pipefail
if [ $# -gt 0 ]; then
  echo "measure-windows: takes no arguments" >&2
  exit 2
fi
cd "$(dirname "$0")/.."
source tools/deps.sh
install_missing_packages
bash tools/build-windows.sh >/dev/null
cmake --build build -j"$(nproc)" --target guardianes xtool >/dev/null
linux_game=$PWD/build/app/guardianes xtool=$PWD/build/tests/xtool
exe=$PWD/build-windows/guardianes.exe zip=$(ls "$PWD"/build-windows/guardianes-*-windows-x64.zip)

work=$(mktemp -d)
game_pid='' xvfb_pid=''
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "measure-windows: $*" >&2; exit 2; }

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")
wineboot -i >/dev/null 2>&1 || fail "Wine cannot start"

now_ns() { date +%s%N; }
# CPU time of every thread of the game so far, in nanoseconds.
cpu_ns() {
  local total=0 ns rest task
  for task in /proc/"$1"/task/*/schedstat; do
    read -r ns rest <"$task" || continue
    total=$((total + ns))
  done
  echo "$total"
}

# Starts a game (`linux` or `wine`), waits for its first frame and prints
# the milliseconds from start to it; the game is left running as game_pid.
start() {
  local log=$work/$1.log first='' started
  rm -f "$log"
  started=$(now_ns)
  if [ "$1" = linux ]; then
    GUARDIANES_WAKEUP_LOG=$log "$linux_game" 2>/dev/null &
  else
    # Wine tells the game an English-speaking user's languages; in the
    # game's own text its first window is "Form1", as the Linux game's.
    GUARDIANES_WAKEUP_LOG=$log wine "$exe" --lang C 2>/dev/null &
  fi
  game_pid=$!
  for _ in $(seq 400); do
    first=$(sed -n 's/^# first frame presented at \([0-9]*\) ns.*/\1/p' "$log" 2>/dev/null || true)
    [ -n "$first" ] && break
    sleep 0.025
  done
  [ -n "$first" ] || fail "the $1 game showed no frame within 10 s"
  echo $(((first - started) / 1000))
}

stop() {
  "$xtool" close "$("$xtool" shown Form1 10 | head -n 1)"
  wait "$game_pid" || true
  game_pid=''
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

declare -A startup idle
for game in linux wine; do
  start "$game" >/dev/null # the first start fills the caches
  stop
  for _ in 1 2 3 4 5; do
    start "$game" >>"$work/$game.startup"
    stop
  done
  startup[$game]=$(median <"$work/$game.startup")
  start "$game" >/dev/null
  sleep 1
  before=$(cpu_ns "$game_pid")
  sleep 10
  idle[$game]=$(($(cpu_ns "$game_pid") - before))
  stop
done

awk -v exe="$(stat -c %s "$exe")" -v zip="$(stat -c %s "$zip")" -v ls="${startup[linux]}" -v ws="${startup[wine]}" \
    -v li="${idle[linux]}" -v wi="${idle[wine]}" '
  function verdict(ok) { if (!ok) missed++; return ok ? "met" : "MISSED" }
  BEGIN {
    printf "%-46s %12s   %s\n", "figure", "measured", "target"
    printf "%-46s %9.2f MB   < 1 MB     %s\n", "guardianes.exe", exe / 1e6, verdict(exe < 1e6)
    printf "%-46s %9.2f MB   < 2 MB     %s\n", "the zip", zip / 1e6, verdict(zip < 2e6)
    printf "%-46s %9.1f ms\n", "start to the first frame, Linux desktop", ls / 1000
    printf "%-46s %9.1f ms\n", "start to the first frame, under Wine", ws / 1000
    printf "%-46s %9.2f ms   < 10 ms    %s\n", "CPU of the idle menu over 10 s, Linux", li / 1e6, verdict(li < 10e6)
    printf "%-46s %9.2f ms   < 10 ms    %s\n", "CPU of the idle menu over 10 s, under Wine", wi / 1e6, verdict(wi < 10e6)
    exit missed ? 1 : 0
  }'
