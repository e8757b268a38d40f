#!/usr/bin/env bash
# The real game in a real window under Xvfb: the menu opens at its size,
# looks exactly like the simulator's picture of it, takes a click, and
# ends when the player closes its window.
set -euo pipefail
game=$1 sim=$2 xtool=$3
work=$(mktemp -d)
trap 'kill $game_pid $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; exit 1; }

display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

"$game" 2>"$work/stderr" &
game_pid=$!

find_window() { timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }
menu=$(find_window Form1) || fail "no window Form1"
eval "$(xdotool getwindowgeometry --shell "$menu")"
[ "$WIDTH" = 443 ] && [ "$HEIGHT" = 480 ] || fail "Form1 client area is ${WIDTH}x${HEIGHT}, not 443x480"

printf 'shot Form1 %s\n' "$work/expected.png" | "$sim" >/dev/null
same=no
for _ in $(seq 50); do
  "$xtool" capture "$menu" "$work/window.png"
  if cmp -s "$work/window.png" "$work/expected.png"; then same=yes; break; fi
  sleep 0.1
done
[ $same = yes ] || fail "the window's pixels differ from the simulator's picture"

# The police button's centre: x = (2*720 + 1095) / 30, y = (2*1560 + 375) / 30.
xdotool mousemove --window "$menu" 84 116
sleep 0.2
xdotool click 1
race=$(find_window Form2) || fail "the click did not reach the game: no Form2"

"$xtool" close "$race"
for _ in $(seq 50); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $game_pid 2>/dev/null && fail "the game still runs after its window was closed"
wait $game_pid || fail "the game ended with status $?"
echo "window test passed"
