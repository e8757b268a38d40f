#!/usr/bin/env bash
# A scene minimised for two seconds while it animates, then restored: its
# timers kept ticking all along, so the race the window shows afterwards is
# the simulator's race at the same time, to within one tick of the rival.
source "$(dirname "$0")/harness.sh"
start_xvfb
race_pictures

start_menu
choose "$menu" portal1
race=$(find_window Form2) || fail "no window Form2"
sleep 3.6
"$xtool" minimise "$race"
sleep 0.2
[ -z "$(xdotool search --onlyvisible --name '^Form2$')" ] || fail "Form2 is still shown after it was minimised"
sleep 1.8
"$xtool" restore "$race"
find_window Form2 >/dev/null || fail "Form2 is not shown again after it was restored"
sleep 0.5
kill -STOP "$game_pid"
shown=$(now_ms)
step=$(rival_step "$race")
kill -CONT "$game_pid"
[ -n "$step" ] || fail "the restored window shows no picture of the race"
expected=$(rival_steps_between $((clicked + green_after_click)) "$shown")
echo "after the restore the rival has made $step steps; the simulator at the same time, $expected"
[ $((step - expected)) -le 1 ] && [ $((expected - step)) -le 1 ] ||
  fail "the rival made $step steps, not $expected: the timers did not keep ticking while minimised"

close_ends "$race"
echo "minimise test passed"
