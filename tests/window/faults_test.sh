#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What players and machines do to the game's real windows. Run as
# `faults_test.sh GAME SIM XTOOL CHECK`, CHECK one of the functions below.
source "$(dirname "$0")/harness.sh"

# Closing the menu before any choice, or at the start or the end of a
# departure, ends the game at once with status 0 and no service window ever
# shown. The switch to the service scene comes 1.25 s after the click; the
# other checks end by closing a service scene.
closing() {
  start_xvfb
  start_menu
  close_ends "$menu" watch
  for moment in "portal1 0.05" "portal4 0.8"; do
    read -r card wait <<<"$moment"
    start_menu
    choose "$menu" "$card"
    sleep "$wait"
    close_ends "$menu" watch
  done
}

# The race's clock in a real window, against the simulator's race from the
# click on the police card after each of the rival's steps from the green
# light on, por0.rgb to por90.rgb: the green light comes 3078.125 ms after
# the click, and the rival steps every 171.875 ms. Minimised for two
# seconds, then restored, the race ticked all along: it shows the
# simulator's race at the same time, to one step. Then the process stopped
# for two seconds (SIGSTOP, SIGCONT): on waking each timer gets at most one
# tick for all it missed, never a burst, so the rival stands one step
# further than where it stopped plus its steps since. A game starved of the
# processor by a loaded machine may fall a few steps behind the wall clock,
# since late ticks are never made up either, but never runs ahead of it;
# the faults these checks are for are ten steps off.
rival_steps_between() { echo $(((($2) - ($1)) * 1000 / 171875)); }
# Sets `step` to the rival step the race shows, empty if none, and `seen`
# to when it was read, the game held still only while its window is read.
rival_step() {
  kill -STOP "$game_pid"
  seen=$(now_ms)
  import -window "$1" -depth 8 "rgb:$work/now.rgb"
  kill -CONT "$game_pid"
  step=
  for ((k = 0; k <= 90; ++k)); do cmp -s "$work/now.rgb" "$work/por$k.rgb" && step=$k && break; done
}
clock() {
  start_xvfb
  start_wm
  {
    printf 'click Form1 portal1\nwait 3078.125\n'
    for ((k = 0; k <= 90; ++k)); do printf 'shot Form2 %s\nwait 171.875\n' "$work/por$k.png"; done
  } | "$sim" >/dev/null
  rgb "$work"/por{0..90}.png
  start_menu
  choose "$menu" portal1
  race=$(find_window Form2) || fail "no window Form2"
  green=$((clicked + 3078))
  sleep 3.6
  xdotool windowminimize "$race"
  sleep 0.2
  ! shown Form2 || fail "Form2 is still shown after it was minimised"
  sleep 1.8
  xdotool windowactivate "$race"
  find_window Form2 >/dev/null || fail "Form2 is not shown again after it was restored"
  sleep 0.5
  rival_step "$race"
  expected=$(rival_steps_between "$green" "$seen")
  [ -n "$step" ] && [ $((step - expected)) -le 1 ] && [ $((expected - step)) -le 3 ] ||
    fail "the restored race shows rival step '$step', not $expected: the timers stopped while minimised"
  kill -STOP "$game_pid"
  stopped=$(now_ms)
  sleep 2
  kill -CONT "$game_pid"
  woken=$(now_ms)
  sleep 0.6
  rival_step "$race"
  before=$(rival_steps_between "$green" "$stopped")
  after=$(rival_steps_between "$woken" "$seen")
  [ -n "$step" ] && [ "$step" -ge $((before + after - 3)) ] && [ "$step" -le $((before + after + 2)) ] ||
    fail "the rival made '$step' steps, not $((before + 1 + after)) with one catch-up tick after the stop"
  close_ends "$race"
}

# The window resized to 1 x 1 and 4000 x 3000: the game paints exactly what
# the simulator paints at that size, goes back to its own size, still takes
# clicks, and survives the same while a service scene animates.
resize() {
  start_xvfb 4096x3072
  start_menu
  for size in "1 1" "4000 3000" "443 480"; do
    read -r width height <<<"$size"
    sim_shot Form1 "$work/expected.png" "resize Form1 $width $height"
    xdotool windowmove "$menu" 0 0 windowsize "$menu" "$width" "$height"
    expect_picture "$menu" "$work/expected.png" "the menu at $width x $height"
  done
  choose "$menu" portal4
  street=$(find_window Form5) || fail "the click after the resizes did not reach the game: no Form5"
  for size in "1 1" "4000 3000" "1 1" "4000 3000" "270 377"; do
    xdotool windowmove "$street" 0 0 windowsize "$street" $size
    sleep 0.3
    kill -0 "$game_pid" 2>/dev/null || fail "the game died when its street scene became ${size/ / x }"
  done
  close_ends "$street"
}

# 1000 clicks in a second at one spot of the race's "Avanzar" button, so
# that they pair into double-clicks: the game keeps up, counts every other
# press and ends the race with the player its one winner, as the simulator
# does when the same clicks come at that moment.
storm() {
  start_xvfb
  for ((k = 0; k <= 20; ++k)); do
    at=$((3078125 + k * 171875)) # microseconds after the click on the card
    {
      printf 'click Form1 portal1\nwait %d.%03d\n' $((at / 1000)) $((at % 1000))
      printf 'click Form2 ava\n%.0s' $(seq 110)
      echo "shot Form2 $work/won$k.png"
    } | "$sim" >/dev/null
  done
  rgb "$work"/won{0..20}.png
  start_menu
  choose "$menu" portal1
  race=$(find_window Form2) || fail "no window Form2"
  sleep 2.2
  # The button's centre: x = (2*1800 + 1095) / 30, y = (2*7560 + 615) / 30.
  start=$(now_ms)
  xdotool mousemove --window "$race" 156 524 $(printf 'mousedown 1 mouseup 1 sleep 0.0009 %.0s' $(seq 1000))
  echo "1000 clicks in $(($(now_ms) - start)) ms"
  kill -0 "$game_pid" 2>/dev/null || fail "the game died in the storm"
  await which_picture "$race" "$work/won" 20 ||
    fail "after the storm the race is not the player's win after any of the rival's first 20 steps"
  close_ends "$race"
}

"$check"
echo "$check passed"
