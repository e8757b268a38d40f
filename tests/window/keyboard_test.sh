#!/usr/bin/env bash
# --keyboard: a player without a mouse moves the real pointer with Tab and
# the arrows, which stop at the scene's edges, and Tab then Space on the
# menu starts the departure of the first card in the scene's order; Tab
# then passes over the cards the departure disabled.
source "$(dirname "$0")/harness.sh"
start_xvfb
start_wm
start_menu --keyboard
sleep 0.5

# Sends keys and expects the pointer at client pixel X Y of the window.
keys_then_pointer() {
  local window=$1 x=$2 y=$3
  shift 3
  xdotool key --delay 30 "$@"
  sleep 0.3
  local at
  at=$("$xtool" pointer "$window")
  [ "$at" = "$x $y" ] || fail "after $*: the pointer is at $at, not $x $y"
}

keys_then_pointer "$menu" 348 116 Tab
keys_then_pointer "$menu" 442 116 $(printf 'Right %.0s' $(seq 14))
keys_then_pointer "$menu" 441 0 shift+Left $(printf 'Up %.0s' $(seq 16))
keys_then_pointer "$menu" 84 116 shift+Tab
keys_then_pointer "$menu" 348 116 shift+Tab shift+Tab shift+Tab
xdotool key space
sleep 0.3
keys_then_pointer "$menu" 348 116 Tab
keys_then_pointer "$menu" 348 116 shift+Tab
street=$(find_window Form5) || fail "Tab then Space on the menu did not start the departure of its first card"
close_ends "$street"
echo "keyboard test passed"
