#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures the live game in a virtual X display (Xvfb), as a child would
# play it: the start-up time to the first frame, the CPU time of the idle
# menu over 10 s and of the 10 s from a click on a card (the departure's
# siren and the street's first sounds, played to SDL's disk audio driver,
# which keeps a real device's pace), the share of a core the closing scene takes while it
# animates, the accuracy of the wake-up schedule over 60 s of that scene,
# and the peak resident memory. Prints one line per figure with its target;
# the status is 1 when a target is missed.
#
#   bash tools/measure-live.sh        (builds in build-release first)
#
# GUARDIANES_BUILD names another build folder to build and measure.
set -euo pipefail
if [ $# -gt 0 ]; then
  echo "measure-live: takes no arguments (GUARDIANES_BUILD may name the build folder)" >&2
  exit 2
fi
cd "$(dirname "$0")/.."
source tools/deps.sh
install_missing_packages

build=${GUARDIANES_BUILD:-build-release}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target guardianes xtool >/dev/null
game=$build/app/guardianes xtool=$build/tests/xtool

work=$(mktemp -d)
game_pid='' xvfb_pid=''
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "measure-live: $*" >&2; exit 2; }

# An X server on a display number it chooses itself, kept up between clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getmouselocation >/dev/null 2>&1 || fail "Xvfb does not answer"

now_ns() { date +%s%N; }
# CPU time of every thread of the game so far, in nanoseconds.
cpu_ns() {
  local total=0 ns rest task
  for task in /proc/"$game_pid"/task/*/schedstat; do
    read -r ns rest <"$task" || continue
    total=$((total + ns))
  done
  echo "$total"
}
# xtool's search, unlike xdotool's, survives windows that vanish meanwhile.
find_window() { "$xtool" shown "$1" 20 | head -n 1; }

log=$work/wakeups.log
start=$(now_ns)
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/sound.raw GUARDIANES_WAKEUP_LOG=$log "$game" 2>"$work/stderr" &
game_pid=$!

# Start-up: the game writes the wall-clock time of its first frame.
first=''
for _ in $(seq 200); do
  first=$(sed -n 's/^# first frame presented at \([0-9]*\) ns.*/\1/p' "$log" 2>/dev/null || true)
  [ -n "$first" ] && break
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended at start-up: $(head -n 1 "$work/stderr")"
  sleep 0.05
done
[ -n "$first" ] || fail "the game showed no frame within 10 s"
menu=$(find_window Form1) || fail "no window Form1"

# The idle menu: nothing runs until the player clicks.
sleep 1
cpu_before=$(cpu_ns)
sleep 10
idle_cpu=$(($(cpu_ns) - cpu_before))

# The "Bomberos V." button opens the closing scene. Its centre:
# x = (2*4680 + 1095) / 30, y = (2*1560 + 375) / 30.
xdotool mousemove --window "$menu" 348 116
sleep 0.2
cpu_click=$(cpu_ns)
wall_click=$(now_ns)
xdotool click 1
find_window Form5 >/dev/null || fail "the click did not open Form5"

# The street animates for about 27 s after the scene opens: the car, the
# convoy with the credits, nightfall. 20 s of it are measured, and the
# first 10 s from the click on their own.
cpu_before=$(cpu_ns)
wall_before=$(now_ns)
sleep "$(awk -v ns=$(($(now_ns) - wall_click)) 'BEGIN { print 10 - ns / 1e9 }')"
departure_cpu=$(($(cpu_ns) - cpu_click))
sleep "$(awk -v ns=$(($(now_ns) - wall_before)) 'BEGIN { print 20 - ns / 1e9 }')"
animating_cpu=$(($(cpu_ns) - cpu_before))
animating_wall=$(($(now_ns) - wall_before))
[ -s "$work/sound.raw" ] || fail "the departure played no sound"
# Then the lamps go on flashing; the schedule is judged over 60 s in all.
sleep 40
peak_kb=$(sed -n 's/^VmHWM:[^0-9]*\([0-9]*\) kB/\1/p' /proc/"$game_pid"/status)

kill -TERM "$game_pid"
wait "$game_pid" || true
game_pid=''

awk -v start="$start" -v first="$first" -v idle="$idle_cpu" -v cpu="$animating_cpu" -v wall="$animating_wall" \
    -v peak="$peak_kb" -v departure="$departure_cpu" '
  /^#/ { next }
  { n++; late[n] = ($2 - $1) / 1e6; at[n] = $2 / 1e9; if ($1 % 15625000 != 0) offgrid++ }
  function verdict(ok) { if (!ok) missed++; return ok ? "met" : "MISSED" }
  END {
    if (n == 0) { print "measure-live: the game logged no wake-up"; exit 2 }
    # Lateness, sorted for its percentiles.
    for (i = 1; i <= n; i++) sorted[i] = late[i]
    for (i = 2; i <= n; i++) { v = sorted[i]; for (j = i - 1; j >= 1 && sorted[j] > v; j--) sorted[j + 1] = sorted[j]; sorted[j + 1] = v }
    p50 = sorted[int((n - 1) * 0.50) + 1]; p99 = sorted[int((n - 1) * 0.99) + 1]; worst = sorted[n]
    # Drift: the mean lateness of the last 10 s against the first 10 s.
    for (i = 1; i <= n; i++) {
      if (at[i] - at[1] < 10) { early += late[i]; ne++ }
      if (at[n] - at[i] < 10) { lately += late[i]; nl++ }
    }
    drift = lately / nl - early / ne
    span = at[n] - at[1]
    startup = (first - start) / 1e6
    share = 100 * cpu / wall
    printf "%-52s %12s   %s\n", "figure", "measured", "target"
    printf "%-52s %9.1f ms   < 200 ms   %s\n", "start to the first frame shown", startup, verdict(startup < 200)
    printf "%-52s %9.2f ms   < 10 ms    %s\n", "CPU time of the idle menu over 10 s", idle / 1e6, verdict(idle < 10e6)
    printf "%-52s %9.1f ms   < 300 ms   %s\n", "CPU time of 10 s from a click, with sound", departure / 1e6, verdict(departure < 300e6)
    printf "%-52s %10.2f %%   < 3 %%      %s\n", "CPU of the closing scene while it animates (20 s)", share, verdict(share < 3)
    printf "%-52s %9.1f MB   < 50 MB    %s\n", "peak resident memory", peak / 1024, verdict(peak < 50 * 1024)
    printf "%-52s %9.3f ms   < 2 ms     %s\n", "wake-up lateness, 99th percentile (" n " in " int(span) " s)", p99, verdict(p99 < 2)
    printf "%-52s %9.3f ms\n", "wake-up lateness, median", p50
    printf "%-52s %9.3f ms\n", "wake-up lateness, worst", worst
    printf "%-52s %9.3f ms   < 0.5 ms   %s\n", "drift: mean lateness, last 10 s less first 10 s", drift, \
      verdict(drift < 0.5 && drift > -0.5 && offgrid == 0 && span >= 60)
    if (offgrid) print "measure-live: " offgrid " wake-ups fell off the 15.625 ms grid"
    if (span < 60) print "measure-live: the wake-ups spanned only " span " s, not 60"
    exit missed ? 1 : 0
  }' "$log"
