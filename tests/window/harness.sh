# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by every test that plays the game in a real window, with the
# arguments GAME SIM XTOOL [CHECK]: an X server of its own, a window manager
# when asked, the game on it, and its pixels compared with the simulator's.
set -euo pipefail
game=${1-} sim=${2-} xtool=${3-} check=${4-}
work=$(mktemp -d)
# The game speaks its own texts, whatever this machine's language: the
# simulator's pictures and the windows' titles are those. A test of a
# language asks for one.
export LC_ALL=C LANGUAGE=
menu_title=Form1
game_pid= xvfb_pid= wm_pid=

cleanup() {
  [ -z "$game_pid" ] || kill -CONT "$game_pid" 2>/dev/null || true
  for pid in $game_pid $wm_pid $xvfb_pid; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL${check:+ ($check)}: $*"
  [ ! -s "$work/stderr" ] || { echo "the game's standard error:"; cat "$work/stderr"; }
  exit 1
}

now_ms() { date +%s%3N; }

# Waits up to five seconds for a command to succeed.
await() { for _ in $(seq 50); do "$@" >/dev/null 2>&1 && return; sleep 0.1; done; false; }

# An X server on a display number of its own choosing, SIZE 1280x1024
# unless given; it keeps the resources xrdb sets when its last client leaves.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "${1:-1280x1024}x24" -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  await test -s "$work/display" || fail "Xvfb did not start"
  export DISPLAY=:$(cat "$work/display")
  await xdotool getmouselocation || fail "Xvfb does not answer"
}

# For what only a window manager does: focus, iconifying, full screen, close keys.
start_wm() {
  openbox --sm-disable --config-file /dev/null >/dev/null 2>&1 &
  wm_pid=$!
  await sh -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" || fail "openbox did not start"
}

# Starts the game with the given options, its standard error kept for
# `fail`, and waits for its menu, `menu`, titled `menu_title`.
start_menu() {
  "$game" "$@" 2>"$work/stderr" &
  game_pid=$!
  menu=$(find_window "$menu_title") || fail "no window $menu_title with options: $*"
}

# Windows are found by title, a shell pattern: `find_window` waits up to ten
# seconds for one to be shown. `search` ends the test when the search
# fails, which must never pass for a window that is not there.
find_window() { "$xtool" shown "$1" 10 | head -n 1; }
search() {
  local status=0
  "$xtool" "$@" >/dev/null || status=$?
  [ "$status" -le 1 ] || fail "the search 'xtool $*' failed"
  return "$status"
}
shown() { search shown "$1"; }

size_of() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "${WIDTH}x${HEIGHT}"
}

# Clicks at a pixel of a window; `clicked` keeps the time of the click.
click_at() {
  xdotool mousemove --window "$1" "$2" "$3"
  sleep 0.1
  clicked=$(now_ms)
  xdotool click 1
}

# The centre of one of the menu's four cards, where the simulator's
# `click Form1 portalN` aims.
choose() { click_at "$1" $((84 + 88 * (${2#portal} - 1))) 116; }

# Writes the simulator's picture of SCENE to FILE after the script lines given.
sim_shot() {
  local scene=$1 file=$2
  shift 2
  printf '%s\n' "$@" "shot $scene $file" | "$sim" >/dev/null
}

# Pictures are compared as raw 8-bit RGB: `rgb` turns PNG files into
# NAME.rgb beside them in one run.
rgb() {
  convert "$@" -depth 8 -set filename:f '%d/%t' 'rgb:%[filename:f].rgb'
}

# Which of the pictures PREFIX0.rgb to PREFIX{LAST}.rgb the window shows, or fails.
which_picture() {
  import -window "$1" -depth 8 "rgb:$work/now.rgb"
  for ((k = 0; k <= $3; ++k)); do cmp -s "$work/now.rgb" "$2$k.rgb" && echo "$k" && return; done
  false
}

# Waits until the window's pixels equal the picture FILE, or fails.
expect_picture() {
  rgb "$2"
  await sh -c "import -window $1 -depth 8 rgb:- | cmp -s - '${2%.png}.rgb'" ||
    fail "$3: the window's pixels differ from the simulator's picture"
}

# Waits up to MS milliseconds for the game to end, failing if a service
# window appears meanwhile when asked to; sets `status` to its exit status.
wait_end() {
  local deadline=$(($(now_ms) + $1))
  while kill -0 "$game_pid" 2>/dev/null; do
    [ -z "${2-}" ] || ! search find 'Form[2-5]' ||
      fail "a service window appeared after the menu was closed"
    [ "$(now_ms)" -le "$deadline" ] || fail "the game still runs $1 ms later"
    sleep 0.02
  done
  status=0
  wait "$game_pid" || status=$?
  game_pid=
}

# Closes a window as its close button does; the game ends with status 0.
close_ends() {
  "$xtool" close "$1"
  wait_end 1000 "${2-}"
  [ "$status" = 0 ] || fail "closing the window ended the game with status $status"
}

# The menu just started speaks Spanish, as the simulator's picture
# $work/menu-es.png shows it, and so does the race's title; closing the
# race ends the game.
spanish_menu_and_race() {
  expect_picture "$menu" "$work/menu-es.png" "the Spanish menu"
  choose "$menu" portal1
  race=$(find_window 'Guardianes: *') || fail "no race titled 'Guardianes: ...' in Spanish"
  title=$(LC_ALL=C.UTF-8 xprop -id "$race" _NET_WM_NAME | sed 's/^[^"]*"//; s/"$//')
  [ "$title" = "Guardianes: Policía" ] || fail "the Spanish race's window is titled '$title'"
  close_ends "$race"
}
