#!/usr/bin/env bash
# The game drawn twice as large under Xvfb: with --scale 2, and by itself
# when the X server's resolution setting is 192 dpi, every window is exactly
# twice its size, its pixels are the simulator's picture with each pixel
# made a 2 x 2 block, and clicks land on the control under the scaled pixel.
set -euo pipefail
game=$1 sim=$2 xtool=$3 upscale=$4
work=$(mktemp -d)
game_pid=
trap 'kill $game_pid $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; exit 1; }

display=:$((90 + RANDOM % 400))
# Tall enough for the race window, 1146 pixels high at twice the size. The
# server must keep its resources when its last client leaves, or the
# resolution setting would be gone before the game starts.
Xvfb "$display" -screen 0 1600x1400x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

find_window() { timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }
size_of() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "${WIDTH}x${HEIGHT}"
}

# Starts the game with the given options and waits for its menu.
start() {
  "$game" "$@" 2>"$work/stderr" &
  game_pid=$!
  menu=$(find_window Form1) || fail "no window Form1 with options: $*"
}

# Closes the menu, which ends the game.
stop() {
  "$xtool" close "$menu"
  for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
  wait "$game_pid" || fail "the game ended with status $?"
  game_pid=
}

printf 'shot Form1 %s\n' "$work/small.png" | "$sim" >/dev/null
"$upscale" "$work/small.png" 2 "$work/expected.png"

start --scale 2
[ "$(size_of "$menu")" = 886x960 ] || fail "with --scale 2 the menu is $(size_of "$menu"), not 886x960"
same=no
for _ in $(seq 50); do
  "$xtool" capture "$menu" "$work/window.png"
  if cmp -s "$work/window.png" "$work/expected.png"; then same=yes; break; fi
  sleep 0.1
done
[ $same = yes ] || fail "the doubled window's pixels are not the simulator's picture doubled"

# The police button's left edge is at pixel 48, so pixels 96 and 97 of the
# doubled window are its first column and pixel 95 is the bare background
# beside it. The two presses are more than 500 ms apart, so the second is
# never taken for the second half of a double-click.
xdotool mousemove --window "$menu" 95 232 click 1
sleep 2
[ -z "$(xdotool search --onlyvisible --name '^Form2$' 2>/dev/null)" ] || fail "a click beside the button started the race"
xdotool mousemove --window "$menu" 96 232 click 1
race=$(find_window Form2) || fail "a click on the button's first doubled column did not reach it: no Form2"
[ "$(size_of "$race")" = 612x1146 ] || fail "with --scale 2 the race is $(size_of "$race"), not 612x1146"
"$xtool" close "$race"
for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
wait "$game_pid" || fail "the game ended with status $?"
game_pid=

# With no option the X server's resolution setting decides, and an explicit
# scale wins over it.
echo 'Xft.dpi: 192' | xrdb -merge
start
[ "$(size_of "$menu")" = 886x960 ] || fail "at 192 dpi the menu is $(size_of "$menu"), not 886x960"
stop
start --scale 1
[ "$(size_of "$menu")" = 443x480 ] || fail "with --scale 1 at 192 dpi the menu is $(size_of "$menu"), not 443x480"
stop
echo 'Xft.dpi: 96' | xrdb -merge
start
[ "$(size_of "$menu")" = 443x480 ] || fail "at 96 dpi the menu is $(size_of "$menu"), not 443x480"
stop
echo "scale test passed"
