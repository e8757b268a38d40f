#!/usr/bin/env bash
# --kiosk on a shared machine, under a window manager: a close request and
# the window manager's close keys leave the game running; Escape brings
# back a fresh menu; so does a stretch without a press; Shift+Ctrl+Escape
# ends the game with status 0. And the options' errors: one line, status 2.
source "$(dirname "$0")/harness.sh"

for bad in "--idle-restart -1" "--idle-restart x" "--idle-restart" "--idle-restart=1.2.3"; do
  status=0
  # shellcheck disable=SC2086 # each case is a few words
  "$game" $bad >"$work/out" 2>"$work/err" || status=$?
  [ "$status" = 2 ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" = 1 ] ||
    fail "'$bad' gave status $status and not one line of error: $(cat "$work/out" "$work/err")"
done

start_xvfb 1280x1024
start_wm
sim_shot Form1 "$work/menu.png"
upscale "$work/menu.png" 2 "$work/fresh.png" 1280 1024

# The police button's centre on the full screen, where the menu lies at
# (197, 32) twice as large.
choose_police() { click_at "$menu" $((197 + 2 * 84)) $((32 + 2 * 116)); }

# A new game shows the menu as at the start, and no service scene.
expect_fresh_menu() {
  expect_picture "$menu" "$work/fresh.png" "$1"
  ! shown Form2 || fail "$1: the race is still shown"
}

start_menu --kiosk --idle-restart 0
"$xtool" close "$menu"
xdotool key alt+F4
sleep 1
kill -0 "$game_pid" || fail "a close request ended the game"
choose_police
race=$(find_window Form2) || fail "no Form2 after the click on the police card"
xdotool key Escape
expect_fresh_menu "after Escape"
xdotool key shift+ctrl+Escape
wait_end 2000
[ "$status" = 0 ] || fail "Shift+Ctrl+Escape ended the game with status $status"

# Three seconds without a press.
start_menu --kiosk --idle-restart 0.05
choose_police
find_window Form2 >/dev/null || fail "no Form2 after the click on the police card"
# The race opens 1.25 s after the click, the new game 3 s after it.
sleep 0.8
shown Form2 || fail "the idle restart came before three seconds without a press"
sleep 1.5
expect_fresh_menu "after three seconds without a press"
echo "kiosk test passed"
