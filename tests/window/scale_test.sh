#!/usr/bin/env bash
# The game drawn twice as large under Xvfb: with --scale 2, and by itself
# when the X server's resolution setting is 192 dpi, every window is exactly
# twice its size, its pixels are the simulator's picture with each pixel
# made a 2 x 2 block, and clicks land on the control under the scaled pixel.
source "$(dirname "$0")/harness.sh"
# Tall enough for the race window, 1146 pixels high at twice the size.
start_xvfb 1600x1400
sim_shot Form1 "$work/small.png"
upscale "$work/small.png" 2 "$work/expected.png"

start_menu --scale 2
[ "$(size_of "$menu")" = 886x960 ] || fail "with --scale 2 the menu is $(size_of "$menu"), not 886x960"
expect_picture "$menu" "$work/expected.png" "the menu at --scale 2"

# The police button's left edge is at pixel 48, so pixels 96 and 97 of the
# doubled window are its first column and pixel 95 is the bare background
# beside it. The two presses are more than 500 ms apart, so the second is
# never taken for the second half of a double-click.
click_at "$menu" 95 232
sleep 2
! shown Form2 || fail "a click beside the button started the race"
click_at "$menu" 96 232
race=$(find_window Form2) || fail "a click on the button's first doubled column did not reach it: no Form2"
[ "$(size_of "$race")" = 612x1146 ] || fail "with --scale 2 the race is $(size_of "$race"), not 612x1146"
close_ends "$race"

# With no option the X server's resolution setting decides, and an explicit
# scale wins over it.
expect_menu_size() {
  start_menu "${@:2}"
  [ "$(size_of "$menu")" = "$1" ] || fail "with options '${*:2}' at $(xrdb -query) the menu is $(size_of "$menu"), not $1"
  close_ends "$menu"
}
echo 'Xft.dpi: 192' | xrdb -merge
expect_menu_size 886x960
expect_menu_size 443x480 --scale 1
echo 'Xft.dpi: 96' | xrdb -merge
expect_menu_size 443x480
echo "scale test passed"
