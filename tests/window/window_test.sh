#!/usr/bin/env bash
# The real game in a real window under Xvfb: the menu opens at its size,
# looks exactly like the simulator's picture of it, takes a click, and
# ends when the player closes its window.
source "$(dirname "$0")/harness.sh"
start_xvfb
start_menu
[ "$(size_of "$menu")" = 443x480 ] || fail "Form1 client area is $(size_of "$menu"), not 443x480"
sim_shot Form1 "$work/expected.png"
expect_picture "$menu" "$work/expected.png" "the menu"
choose "$menu" portal1
race=$(find_window Form2) || fail "the click did not reach the game: no Form2"
close_ends "$race"
echo "window test passed"
