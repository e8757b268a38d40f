# Sourced by every test that plays the game in a real window: an X server of
# its own, a window manager when asked, the game started on it, and ways to
# find its windows, act on them, compare their pixels with the simulator's
# and wait for the game's end. Sourced as `harness.sh GAME SIM XTOOL`, or
# with a test's own arguments, which it takes the same way.
set -euo pipefail
game=${1-} sim=${2-} xtool=${3-}
work=$(mktemp -d)
game_pid=
xvfb_pid=
wm_pid=

cleanup() {
  if [ -n "$game_pid" ]; then
    kill -CONT "$game_pid" 2>/dev/null || true
    kill "$game_pid" 2>/dev/null || true
  fi
  [ -z "$wm_pid" ] || kill "$wm_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  if [ -s "$work/stderr" ]; then
    echo "the game's standard error:"
    cat "$work/stderr"
  fi
  exit 1
}

now_ms() { date +%s%3N; }

# An X server on a display number it chooses itself, so that tests never
# collide; SIZE is the screen's, 1280x1024 unless given. It keeps its
# resources when its last client leaves, so that a resolution setting made
# with xrdb is still there when the game starts.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "${1:-1280x1024}x24" -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
  done
  [ -s "$work/display" ] || fail "Xvfb did not start"
  export DISPLAY=:$(cat "$work/display")
  for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && return; sleep 0.1; done
  fail "Xvfb does not answer"
}

# A window manager, for what only one does: keyboard focus, full screen
# requests and the close keys.
start_wm() {
  openbox --sm-disable --config-file /dev/null >/dev/null 2>&1 &
  wm_pid=$!
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return
    sleep 0.1
  done
  fail "openbox did not start"
}

# Starts any command as the game, its standard error kept for `fail`.
launch() {
  "$@" 2>"$work/stderr" &
  game_pid=$!
}

start_game() { launch "$game" "$@"; }

# Starts the game with the given options and waits for its menu, `menu`.
start_menu() {
  start_game "$@"
  menu=$(find_window Form1) || fail "no window Form1 with options: $*"
}

find_window() { timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }

# Whether a window of that name is shown now, without waiting.
shown() { [ -n "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ]; }

# Any window of a service scene, shown or not: the game creates each one
# hidden before it shows it.
service_windows() { xdotool search --name '^Form[2-5]$' 2>/dev/null || true; }

size_of() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "${WIDTH}x${HEIGHT}"
}

# The centre pixels of the menu's four "Click Here" buttons, as the
# simulator's `click Form1 portalN` aims.
portal_x() { case $1 in portal1) echo 84 ;; portal2) echo 172 ;; portal3) echo 260 ;; portal4) echo 348 ;; esac; }

# Clicks at a pixel of a window; `clicked` keeps the time of the click.
click_at() {
  xdotool mousemove --window "$1" "$2" "$3"
  sleep 0.1
  clicked=$(now_ms)
  xdotool click 1
}

choose() { click_at "$1" "$(portal_x "$2")" 116; }

# Writes the simulator's picture of SCENE to FILE after the script lines
# that follow, if any.
sim_shot() {
  local scene=$1 file=$2
  shift 2
  printf '%s\n' "$@" "shot $scene $file" | "$sim" >/dev/null
}

# Waits up to MS milliseconds for the game to end, watching that no service
# window appears meanwhile when asked to; sets `status` to its exit status.
wait_end() {
  local limit=$1 watch=${2:-}
  local deadline=$(($(now_ms) + limit))
  while kill -0 "$game_pid" 2>/dev/null; do
    [ -z "$watch" ] || [ -z "$(service_windows)" ] || fail "a service window appeared after the menu was closed"
    [ "$(now_ms)" -le "$deadline" ] || fail "the game still runs $limit ms later"
    sleep 0.02
  done
  status=0
  wait "$game_pid" || status=$?
  game_pid=
  # SDL 2.26 may send its wake-up message to a window destroyed while its
  # event loop runs; the host keeps closed windows until it ends, and this
  # catches the fault should it come back.
  if [ "$status" != 0 ] && grep -q 'BadWindow' "$work/stderr" && grep -q 'X_SendEvent' "$work/stderr"; then
    fail "the game died of an X error (BadWindow on X_SendEvent) when its window was closed, status $status"
  fi
}

# Closes a window as its close button does and expects the game to end
# with status 0 within a second.
close_ends() {
  "$xtool" close "$1"
  wait_end 1000
  [ "$status" = 0 ] || fail "closing the window ended the game with status $status"
}

# Writes the picture IN with every pixel made an N x N block, as a window
# drawn N times larger shows it; given W and H, centred on black that size,
# as a full screen shows it.
upscale() {
  local in=$1 n=$2 out=$3
  if [ $# -eq 5 ]; then
    convert "$in" -sample $((n * 100))% -background black -gravity center -extent "$4x$5" "$out"
  else
    convert "$in" -sample $((n * 100))% "$out"
  fi
}

# Whether two pictures have the same size and pixels, whatever their files hold besides.
same_pixels() { [ "$(identify -format %wx%h "$1")" = "$(identify -format %wx%h "$2")" ] &&
  cmp -s <(convert "$1" -depth 8 rgb:-) <(convert "$2" -depth 8 rgb:-); }

# Waits until the window's pixels equal the picture FILE, or fails.
expect_picture() {
  local window=$1 expected=$2 what=$3
  for _ in $(seq 50); do
    "$xtool" capture "$window" "$work/window.png" 2>/dev/null && same_pixels "$work/window.png" "$expected" && return
    sleep 0.1
  done
  fail "$what: the window's pixels differ from the simulator's picture"
}

# The race, from the click on the police card: pictures of the scene after
# each of the rival's steps from the green light on, por0.png to por90.png.
race_pictures() {
  {
    echo "click Form1 portal1"
    echo "wait 3078.125"
    for ((k = 0; k <= 90; ++k)); do
      echo "shot Form2 $work/por$k.png"
      echo "wait 171.875"
    done
  } | "$sim" >/dev/null
}

# Which rival step the window shows, by its pixels; empty if none matches.
rival_step() {
  "$xtool" capture "$1" "$work/now.png"
  for ((k = 0; k <= 90; ++k)); do
    if cmp -s "$work/now.png" "$work/por$k.png"; then
      echo "$k"
      return
    fi
  done
}

# The green light comes 1250 ms after the click on the card, when the race
# opens, and 9 ticks of 203.125 ms later; the rival steps every 171.875 ms.
rival_steps_between() { echo $(((($2) - ($1)) * 1000 / 171875)); }
readonly green_after_click=3078
