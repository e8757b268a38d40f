#!/usr/bin/env bash
# A storm of 1000 clicks in one second on the race's "Avanzar" button, at
# one spot, so that they pair into double-clicks: the game keeps up, counts
# every other press, and ends the race with the player as its one winner,
# exactly as the simulator does when the same clicks come at that moment.
source "$(dirname "$0")/harness.sh"
start_xvfb

# The pictures of a race won by the player after the rival's kth step.
for ((k = 0; k <= 20; ++k)); do
  {
    echo "click Form1 portal1"
    at=$((3078125 + k * 171875)) # microseconds
    printf 'wait %d.%03d\n' $((at / 1000)) $((at % 1000))
    for _ in $(seq 110); do echo "click Form2 ava"; done
    echo "shot Form2 $work/won$k.png"
  } | "$sim" >/dev/null
done

start_menu
choose "$menu" portal1
race=$(find_window Form2) || fail "no window Form2"
sleep 2.2
# The button's centre: x = (2*1800 + 1095) / 30, y = (2*7560 + 615) / 30.
"$xtool" storm "$race" 156 524 1000 1000
kill -0 "$game_pid" 2>/dev/null || fail "the game died in the storm"

won=
for _ in $(seq 50); do
  "$xtool" capture "$race" "$work/now.png"
  for ((k = 0; k <= 20; ++k)); do cmp -s "$work/now.png" "$work/won$k.png" && won=$k; done
  [ -z "$won" ] || break
  sleep 0.1
done
[ -n "$won" ] || fail "after the storm the race is not the player's win after any of the rival's first 20 steps"
echo "the player won the race with the storm, the rival stopped after $won steps"

close_ends "$race"
echo "storm test passed"
