#!/usr/bin/env bash
# --fullscreen under a window manager: each scene fills the screen, drawn at
# the largest whole scale that fits and centred on black, exactly the
# simulator's picture scaled up; a click on a scaled button reaches it, and
# the service scene that follows fills the screen too.
source "$(dirname "$0")/harness.sh"
start_xvfb 1280x1024
start_wm
sim_shot Form1 "$work/menu.png"
upscale "$work/menu.png" 2 "$work/expected.png" 1280 1024

start_menu --fullscreen
[ "$(size_of "$menu")" = 1280x1024 ] || fail "the full-screen menu is $(size_of "$menu"), not 1280x1024"
expect_picture "$menu" "$work/expected.png" "the menu twice as large in the middle of the screen"

# The menu, 443 x 480, lies at (197, 32) twice as large: the police
# button's pixel (48, 116) is the window's (293, 264), and the pixel left of
# it, the background, (291, 264).
click_at "$menu" 291 264
sleep 0.7
expect_picture "$menu" "$work/expected.png" "a click beside the button"
click_at "$menu" 293 264
sleep 0.5
"$xtool" capture "$menu" "$work/window.png"
! same_pixels "$work/window.png" "$work/expected.png" || fail "a click on the scaled button started no departure"
race=$(find_window Form2) || fail "no Form2 after the click on the police button"
[ "$(size_of "$race")" = 1280x1024 ] || fail "the full-screen race is $(size_of "$race"), not 1280x1024"
close_ends "$race"
echo "fullscreen test passed"
