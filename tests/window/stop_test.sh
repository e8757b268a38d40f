#!/usr/bin/env bash
# The game's process stopped for two seconds in the middle of the race
# (SIGSTOP, then SIGCONT): on waking, each timer gets at most one tick for
# all the time it missed, never a burst. So the rival stands one step
# further than where it stopped, plus its steps since, and the wake-ups
# served never come closer together than the scheduler's period.
source "$(dirname "$0")/harness.sh"
start_xvfb
race_pictures

GUARDIANES_WAKEUP_LOG=$work/wakeups start_menu
choose "$menu" portal1
race=$(find_window Form2) || fail "no window Form2"
green=$((clicked + green_after_click))
sleep 3
kill -STOP "$game_pid"
stopped=$(now_ms)
sleep 2
kill -CONT "$game_pid"
woken=$(now_ms)
sleep 0.6
kill -STOP "$game_pid"
seen=$(now_ms)
step=$(rival_step "$race")
kill -CONT "$game_pid"
[ -n "$step" ] || fail "the window shows no picture of the race"

before=$(rival_steps_between "$green" "$stopped")
after=$(rival_steps_between "$woken" "$seen")
burst=$(rival_steps_between "$green" "$seen")
echo "the rival made $before steps before the stop and $step in all; one catch-up step would make it" \
  "$((before + 1 + after)), a burst $burst"
[ "$step" -ge $((before + after)) ] && [ "$step" -le $((before + after + 2)) ] ||
  fail "the rival made $step steps, not $((before + 1 + after)) with one catch-up tick"

close_ends "$race"

# Each line: the wake-up served and the clock when it was, in nanoseconds.
awk -v period=15625000 '
  NR > 1 && $1 - last < period { print "FAIL: two wake-ups served " ($1 - last) " ns apart"; bad = 1 }
  NR > 1 && $1 - last > gap { gap = $1 - last }
  { last = $1 }
  END {
    if (gap < 1900000000) { print "FAIL: no gap of two seconds among the wake-ups served"; bad = 1 }
    exit bad
  }' "$work/wakeups" || fail "the wake-ups after the stop came in a burst"
echo "stop test passed"
