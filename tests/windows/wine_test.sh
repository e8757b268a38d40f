#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows programs under Wine, in a Wine prefix, an X server and a
# window manager of this run's own, against the Linux programs. Run as
# `wine_test.sh WINDOWS_BUILD GAME SIM XTOOL CHECK CUE_SAMPLES`, CHECK one of
# the functions below; skipped (status 77) only where Wine cannot start.
windows=$1 linux_game=$2 cue_samples=${6-}
shift 2
# Wine speaks the language LANG says, English without one: the game is
# asked for its own texts, as the simulator's pictures have them.
exe_game() { exec wine "$windows/guardianes.exe" --lang C "$@"; }
source "$(dirname "$0")/../window/harness.sh" exe_game "$@"
# The programs as a school gets them: unpacked from the zip, which holds
# them and README.txt and nothing else.
mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$(ls "$windows"/guardianes-*-windows-x64.zip)")
[ "$(cd "$work/unpacked" && LC_ALL=C ls | tr '\n' ' ')" = "README.txt guardianes-sim.exe guardianes.exe " ] ||
  fail "the zip holds $(ls "$work/unpacked")"
windows=$work/unpacked
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k >/dev/null 2>&1 || true; cleanup' EXIT
# Wine plays sound through ALSA: here into a file, as the device plays it.
printf 'pcm.!default { type file; slave.pcm "null"; file "%s"; format "raw" }\npcm.null { type null }\n' \
  "$work/played.raw" >"$work/asound.conf"
export ALSA_CONFIG_PATH=$work/asound.conf
[ "$check" = sim ] || { start_xvfb; start_wm; }
if ! wineboot -i >"$work/wineboot" 2>&1 || ! wine cmd /c exit 0 >>"$work/wineboot" 2>&1; then
  echo "SKIP: Wine cannot start here: $(tail -n 1 "$work/wineboot")"
  exit 77
fi

# guardianes-sim.exe answers every script as guardianes-sim does, byte for
# byte (standard output, standard error, status), and its shots hold the
# same pixels. Each case is the options and the script read from standard
# input: the browser's scripts cover every scene and command but `key`, and
# bad lines; keys.txt the keys.
sim() {
  local scripts=$(dirname "$0")/../web/scripts case=0
  run_both() {
    local input=$1 dir
    shift
    case=$((case + 1))
    for dir in linux windows; do mkdir -p "$work/$case/$dir"; done
    (cd "$work/$case/linux" && { "$sim" "$@" <"$input" >out 2>err && echo 0 || echo $?; } >status)
    (cd "$work/$case/windows" && { wine "$windows/guardianes-sim.exe" "$@" <"$input" >out 2>err && echo 0 || echo $?; } >status)
    for file in out err status; do
      cmp -s "$work/$case/linux/$file" "$work/$case/windows/$file" ||
        fail "guardianes-sim.exe $* <$(basename "$input"): its $file differs: $(diff "$work/$case/linux/$file" \
          "$work/$case/windows/$file" | head -n 5)"
    done
    for shot in "$work/$case"/linux/*.png; do
      [ -e "$shot" ] || continue
      rgb "$shot" "$work/$case/windows/${shot##*/}"
      cmp -s "${shot%.png}.rgb" "$work/$case/windows/$(basename "${shot%.png}").rgb" ||
        fail "guardianes-sim.exe <$(basename "$input"): the pixels of ${shot##*/} differ"
    done
  }
  for script in "$scripts"/*.txt; do run_both "$script"; done
  run_both "$(dirname "$0")/keys.txt" --kiosk --keyboard
  for arguments in --help --version "--scale 2" --no-such-option no-such-script.txt; do
    # shellcheck disable=SC2086 # each case is a few words
    run_both /dev/null $arguments
  done
  echo "$case cases answered alike"
}

# guardianes.exe opens the menu with the simulator's pixels at time 0 in a
# client area of its size; a real click on the police card's button opens
# the race about 1.25 s later, the menu gone; closing the race ends the
# game with status 0. --help, --version and a bad option answer as the
# Linux game's, in Windows' line ends.
game() {
  for arguments in --help --version --no-such-option; do
    status=0
    (exe_game "$arguments") >"$work/out" 2>"$work/err" </dev/null || status=$?
    expected=0
    "$linux_game" "$arguments" >"$work/linux-out" 2>"$work/linux-err" || expected=$?
    [ "$status" = "$expected" ] && tr -d '\r' <"$work/out" | cmp -s - "$work/linux-out" &&
      tr -d '\r' <"$work/err" | cmp -s - "$work/linux-err" ||
      fail "guardianes.exe $arguments: status $status, $(cat "$work/out" "$work/err")"
  done
  sim_shot Form1 "$work/menu.png"
  start_menu
  [ "$(size_of "$menu")" = 443x480 ] || fail "the menu's client area is $(size_of "$menu"), not 443x480"
  expect_picture "$menu" "$work/menu.png" "the menu"
  choose "$menu" portal1
  race=$(find_window Form2) || fail "no Form2 after a click on the police card's button"
  took=$(($(now_ms) - clicked))
  [ "$took" -ge 1200 ] && [ "$took" -le 3000 ] || fail "the race opened $took ms after the click, not about 1250"
  sleep 0.2
  ! shown Form1 || fail "the menu is still shown with the race"
  close_ends "$race"
}

# --fullscreen: the menu twice as large in the middle of the 1280 x 1024
# screen, on black. At 192 DPI, the program being aware of it, the menu's
# window is twice its size, and once again with --scale=1.
screen() {
  sim_shot Form1 "$work/menu.png"
  convert "$work/menu.png" -sample 200% -background black -gravity center -extent 1280x1024 "$work/screen.png"
  start_menu --fullscreen
  [ "$(size_of "$menu")" = 1280x1024 ] || fail "the full-screen menu is $(size_of "$menu"), not 1280x1024"
  expect_picture "$menu" "$work/screen.png" "the full-screen menu"
  close_ends "$menu"
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
  wineserver -w
  start_menu
  [ "$(size_of "$menu")" = 886x960 ] || fail "at 192 DPI the menu is $(size_of "$menu"), not 886x960"
  close_ends "$menu"
  start_menu --scale=1
  [ "$(size_of "$menu")" = 443x480 ] || fail "at 192 DPI with --scale=1 the menu is $(size_of "$menu"), not 443x480"
  close_ends "$menu"
}

# --kiosk: a close does nothing, Escape brings a new menu, and
# Shift+Ctrl+Escape ends the game with status 0. --keyboard: Tab takes
# the real pointer to the police button, an arrow 8 pixels on, Space clicks.
classroom() {
  start_menu --kiosk --idle-restart 0
  "$xtool" close "$menu"
  sleep 1
  kill -0 "$game_pid" || fail "a close request ended the kiosk"
  click_at "$menu" $(((1280 - 886) / 2 + 2 * 84)) $(((1024 - 960) / 2 + 2 * 116))
  race=$(find_window Form2) || fail "no Form2 after a click on the full-screen police card"
  xdotool key Escape
  find_window Form1 >/dev/null || fail "Escape brought no new menu"
  sleep 0.5
  ! shown Form2 || fail "after Escape the race is still shown"
  xdotool key shift+ctrl+Escape
  wait_end 3000
  [ "$status" = 0 ] || fail "Shift+Ctrl+Escape ended the kiosk with status $status"

  start_menu --keyboard
  sleep 0.5
  eval "$(xwininfo -id "$menu" |
    awk '/Absolute upper-left X/ { print "left=" $NF } /Absolute upper-left Y/ { print "top=" $NF }')"
  for step in "Tab 84 116" "Right 92 116"; do
    read -r key x y <<<"$step"
    xdotool key "$key"
    sleep 0.3
    eval "$(xdotool getmouselocation --shell)"
    [ "$((X - left)) $((Y - top))" = "$x $y" ] ||
      fail "after $key the pointer is at $((X - left)) $((Y - top)), not $x $y"
  done
  xdotool key space
  race=$(find_window Form2) || fail "Space on the police button did not start its departure"
  close_ends "$race"
}

# The idle menu opens no audio device; a click on a card plays the police
# siren from its first sample, as the mixer makes it, and the device stays
# open through the race's start light: the game's log of wake-ups records
# one opening. About two seconds after the light's last sound the device
# closes, and nothing more is played.
sound() {
  size() { stat -c %s "$work/played.raw" 2>/dev/null || echo 0; }
  local log=$work/wakeups.log
  export GUARDIANES_WAKEUP_LOG=$log
  start_menu
  sleep 2
  [ "$(size)" = 0 ] || fail "the idle menu played $(size) bytes of sound"
  ! grep -q 'audio device' "$log" || fail "the idle menu opened the audio device"
  choose "$menu" portal1
  sleep 1
  "$cue_samples" police-siren >"$work/siren.raw"
  [ "$(size)" -ge 20000 ] || fail "1 s after the click only $(size) bytes were played"
  /usr/bin/python3 - "$work/played.raw" "$work/siren.raw" <<'CHECK' || fail "what was played after the click is not the siren"
import sys
played, siren = (open(name, "rb").read() for name in sys.argv[1:])
common = min(len(played), len(siren))
sys.exit(played[:common] != siren[:common])
CHECK
  # The start light's last sound ends 3.5 s after the click.
  sleep 3
  await grep -q 'audio device closed' "$log" || fail "the device was still open 5 s after the start light"
  [ "$(grep -c 'audio device opened' "$log")" = 1 ] ||
    fail "the departure and the start light opened the device $(grep -c 'audio device opened' "$log") times, not once"
  local heard
  heard=$(size)
  sleep 1
  [ "$(size)" = "$heard" ] || fail "the device went on playing once closed"
  close_ends "$(find_window Form2)"
}

# In the child's language: with --lang es the windows have Spanish titles
# and the very pixels the Linux simulator paints in Spanish, from the
# glyphs baked for the Spanish texts; and Wine's language, as LANG sets it,
# is the game's without --lang. Wine takes a language only where the system
# has its locale, so the French one is compiled for this test alone.
languages() {
  language_menu() { printf 'shot Form1 %s\n' "$work/menu-$1.png" | "$sim" --lang "$1" >/dev/null; }
  language_menu es
  language_menu fr
  exe_in() { exec wine "$windows/guardianes.exe" "$@"; }
  game=exe_in menu_title=Guardianes
  start_menu --lang es
  spanish_menu_and_race
  mkdir "$work/locales"
  localedef -i fr_FR -f UTF-8 "$work/locales/fr_FR.UTF-8" || fail "cannot compile the fr_FR.UTF-8 locale"
  # A Wine server started in another language would answer in that one.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
  LC_ALL= LOCPATH=$work/locales LANG=fr_FR.UTF-8 start_menu
  expect_picture "$menu" "$work/menu-fr.png" "the French menu, as Wine's language is"
  close_ends "$menu"
}

"$check"
echo "$check passed"
