#!/usr/bin/env bash
# The player's window resized to 1 x 1 pixel and to 4000 x 3000: the game
# paints exactly what the simulator paints at that size, goes back to its
# own size unharmed, still takes clicks, and survives the same while a
# service scene animates.
source "$(dirname "$0")/harness.sh"
start_xvfb 4096x3072

start_menu
for size in "1 1" "4000 3000" "443 480"; do
  read -r width height <<<"$size"
  printf 'resize Form1 %s %s\nshot Form1 %s\n' "$width" "$height" "$work/expected.png" | "$sim" >/dev/null
  "$xtool" resize "$menu" "$width" "$height"
  expect_picture "$menu" "$work/expected.png" "the menu at $width x $height"
  echo "the menu at $width x $height looks as the simulator paints it"
done

choose "$menu" portal4
street=$(find_window Form5) || fail "the click after the resizes did not reach the game: no Form5"
for size in "1 1" "4000 3000" "1 1" "4000 3000" "270 377"; do
  "$xtool" resize "$street" $size
  sleep 0.3
  kill -0 "$game_pid" 2>/dev/null || fail "the game died when its street scene became ${size/ / x }"
done
close_ends "$street"
echo "resize test passed"
