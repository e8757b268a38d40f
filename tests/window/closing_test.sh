#!/usr/bin/env bash
# The player closes windows: the menu before any choice and at several
# moments of a departure, which ends the game at once with status 0 and no
# service window ever shown; and each service scene, which ends the game.
source "$(dirname "$0")/harness.sh"
start_xvfb
sim_shot Form1 "$work/menu.png"

# The switch to the service scene comes 1.25 s after the click on a card.
for moment in "none 0.5" "portal1 0.05" "portal2 0.4" "portal3 0.8" "portal4 1.0"; do
  read -r button wait <<<"$moment"
  start_menu
  [ "$button" = none ] || choose "$menu" "$button"
  sleep "$wait"
  if [ "$button" != none ] && [ "$wait" != 0.05 ]; then
    "$xtool" capture "$menu" "$work/window.png"
    ! cmp -s "$work/window.png" "$work/menu.png" || fail "the click on $button started no departure"
  fi
  "$xtool" close "$menu"
  wait_end 1000 watch
  [ "$status" = 0 ] || fail "closing the menu $wait s after $button: status $status"
  echo "menu closed $wait s after $button: the game ended with status 0 and no service window"
done

scene_of() { case $1 in portal1) echo Form2 ;; portal2) echo Form3 ;; portal3) echo Form4 ;; portal4) echo Form5 ;; esac; }
for button in portal1 portal2 portal3 portal4; do
  start_menu
  choose "$menu" "$button"
  scene=$(find_window "$(scene_of "$button")") || fail "no window $(scene_of "$button") after $button"
  sleep 0.5
  close_ends "$scene"
  echo "$(scene_of "$button") closed: the game ended with status 0"
done
echo "closing test passed"
