#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The game drawn larger and the classroom options, under a window manager,
# on a screen tall enough for the doubled race where a check needs one. Run
# as `classroom_test.sh GAME SIM XTOOL CHECK`, CHECK one of the functions below.
source "$(dirname "$0")/harness.sh"
case $check in scale | kiosk) screen=1600x1400 ;; netbook) screen=1024x576 ;; *) screen=1280x1024 ;; esac
start_xvfb $screen
start_wm
sim_shot Form1 "$work/menu.png"
convert "$work/menu.png" -sample 200% "$work/double.png"
convert "$work/double.png" -background black -gravity center -extent $screen "$work/screen.png"

# Full screen, the 443 x 480 menu lies twice as large in the middle: where
# the pixel (X, Y) of the menu is.
on_screen() { echo $(((${screen%x*} - 886) / 2 + 2 * $1)) $(((${screen#*x} - 960) / 2 + 2 * $2)); }

# With --scale 2, and by itself at 192 dpi, every window is twice its size,
# its pixels the simulator's doubled, and a click lands on the control under
# the scaled pixel: the police button's left edge is at pixel 48, so 96 is
# on it and 95 beside it. The presses are over 500 ms apart, never a
# double-click.
scale() {
  start_menu --scale 2
  expect_picture "$menu" "$work/double.png" "the menu at --scale 2"
  click_at "$menu" 95 232
  sleep 2
  ! shown Form2 || fail "a click beside the button started the race"
  click_at "$menu" 96 232
  race=$(find_window Form2) || fail "a click on the button's first doubled column did not reach it: no Form2"
  [ "$(size_of "$race")" = 612x1146 ] || fail "with --scale 2 the race is $(size_of "$race"), not 612x1146"
  close_ends "$race"
  echo "Xft.dpi: 192" | xrdb -merge
  start_menu
  [ "$(size_of "$menu")" = 886x960 ] || fail "at 192 dpi the menu is $(size_of "$menu"), not 886x960"
  close_ends "$menu"
  start_menu --scale=1
  [ "$(size_of "$menu")" = 443x480 ] || fail "at 192 dpi with --scale=1 the menu is $(size_of "$menu"), not 443x480"
  close_ends "$menu"
}

# A netbook's 1024 x 600 screen less its panel, too short for the race's
# 573 rows and its title bar: the race is drawn whole, smaller, its window
# inside the screen.
netbook() {
  start_menu
  choose "$menu" portal1
  race=$(find_window Form2) || fail "no Form2 on a 1024x576 screen"
  sleep 0.5
  # xwininfo, since xdotool counts a framed window's title bar twice.
  top=$(xwininfo -id "$race" | sed -n 's/.*Absolute upper-left Y: *//p')
  [ "$(size_of "$race")" = 294x551 ] && [ "$((top + 551))" -le 576 ] ||
    fail "the race's window is $(size_of "$race") at y $top: not shrunk to fit a 1024x576 screen"
  close_ends "$race"
}

# --kiosk, which is full screen: each scene fills the screen, the
# simulator's picture at the largest whole scale that fits, centred on
# black, and a click on the scaled button reaches it. A close request and
# the window manager's close keys leave the game running; Escape brings back
# a fresh menu; Shift+Ctrl+Escape ends the game with status 0. The session's
# own tests time the idle restart and map a window's pixels to a scene's.
kiosk() {
  start_menu --kiosk --idle-restart 0
  "$xtool" close "$menu"
  xdotool key alt+F4
  sleep 1
  kill -0 "$game_pid" || fail "a close request ended the game"
  click_at "$menu" $(on_screen 84 116)
  race=$(find_window Form2) || fail "no Form2 after the click on the scaled police card"
  [ "$(size_of "$race")" = $screen ] || fail "the full-screen race is $(size_of "$race"), not $screen"
  xdotool key Escape
  expect_picture "$menu" "$work/screen.png" "after Escape"
  ! shown Form2 || fail "after Escape the race is still shown"
  xdotool key shift+ctrl+Escape
  wait_end 2000
  [ "$status" = 0 ] || fail "Shift+Ctrl+Escape ended the game with status $status"
}

# --keyboard: Tab, Shift+Tab and the arrows, with Shift or not, move the
# real pointer where the session's rules say; Space clicks.
keyboard() {
  keys_then_pointer() {
    xdotool key --delay 30 "${@:3}"
    sleep 0.3
    eval "$(xdotool getmouselocation --shell)"
    [ "$((X - left)) $((Y - top))" = "$1 $2" ] ||
      fail "after ${*:3}: the pointer is at $((X - left)) $((Y - top)), not $1 $2"
  }
  start_menu --keyboard
  sleep 0.5
  eval "$(xwininfo -id "$menu" |
    awk '/Absolute upper-left X/ { print "left=" $NF } /Absolute upper-left Y/ { print "top=" $NF }')"
  keys_then_pointer 348 116 Tab shift+Tab
  keys_then_pointer 355 108 shift+Left Right Up
  keys_then_pointer 84 116 Tab
  xdotool key space
  race=$(find_window Form2) || fail "Space on the police card's button did not start its departure"
  close_ends "$race"
}

# In the child's language: under LANG=es_AR.UTF-8 the windows have Spanish
# titles and the very pixels `guardianes-sim --lang es` paints, and --lang
# speaks over the environment.
languages() {
  language_menu() { printf 'shot Form1 %s\n' "$work/menu-$1.png" | "$sim" --lang "$1" >/dev/null; }
  language_menu es
  language_menu fr
  cmp -s "$work/menu-es.png" "$work/menu-fr.png" && fail "the Spanish and the French menus are one picture"
  menu_title=Guardianes
  LC_ALL= LANG=es_AR.UTF-8 start_menu
  spanish_menu_and_race
  LC_ALL= LANG=es_AR.UTF-8 start_menu --lang fr
  expect_picture "$menu" "$work/menu-fr.png" "the French menu, asked for over a Spanish system"
  close_ends "$menu"
}

"$check"
echo "$check passed"
