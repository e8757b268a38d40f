#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Machines the game cannot start on, or starts on with odd fonts. Run as
# `startup_test.sh GAME SIM XTOOL CHECK`, CHECK one of the functions below.
source "$(dirname "$0")/harness.sh"

# Runs a command that must refuse to start: status STATUS, nothing on
# standard output, one line on standard error beginning "guardianes: ".
expect_refusal() {
  status=0
  "${@:3}" >"$work/out" 2>"$work/err" || status=$?
  [ "$status" = "$1" ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" = 1 ] &&
    grep -q '^guardianes: ' "$work/err" ||
    fail "$2: status $status, not $1 with one line of error: $(cat "$work/out" "$work/err")"
  echo "$2: $(cat "$work/err")"
}

# No display, a display or Wayland socket that is not there, no font face
# at all: one clear line and status 1. An unknown option or a bad
# --idle-restart: status 2.
refusals() {
  expect_refusal 1 "no display" env -u DISPLAY -u WAYLAND_DISPLAY "$game"
  expect_refusal 1 "a display that is not there" env -u WAYLAND_DISPLAY DISPLAY=:4999 "$game"
  expect_refusal 1 "a Wayland display that is not there" \
    env -u DISPLAY WAYLAND_DISPLAY="$work/no-such-socket" XDG_RUNTIME_DIR="$work" "$game"
  start_xvfb
  mkdir "$work/no-fonts"
  font_conf "$work/no-fonts" >"$work/none.conf"
  expect_refusal 1 "no font face" env FONTCONFIG_FILE="$work/none.conf" "$game"
  grep -q 'font' "$work/err" || fail "with no font face the line does not speak of fonts"
  for bad in "--no-such-option" "--idle-restart -1" "--idle-restart x" "--idle-restart" "--idle-restart=1.2.3"; do
    # shellcheck disable=SC2086 # each case is a few words
    expect_refusal 2 "$bad" "$game" $bad
  done
}

font_conf() {
  printf '<?xml version="1.0"?>\n<fontconfig><dir>%s</dir><cachedir>%s</cachedir></fontconfig>\n' "$1" "$work/cache"
}

# A broken or missing configuration file, or one odd face alone: the game
# draws its captions in what it finds, as the simulator does with the same
# configuration, and plays on to the race's finish title.
odd_fonts() {
  start_xvfb
  mkdir "$work/one-font"
  face=$(find /usr/share/fonts -name 'DejaVuSansMono.ttf' | head -n 1)
  cp "${face:?no DejaVuSansMono.ttf (fonts-dejavu-core)}" "$work/one-font/"
  font_conf "$work/one-font" >"$work/one.conf"
  printf 'this is not a font configuration <<' >"$work/broken.conf"
  for config in one broken missing; do
    export FONTCONFIG_FILE=$work/$config.conf
    start_menu
    sim_shot Form1 "$work/expected.png" 2>/dev/null
    expect_picture "$menu" "$work/expected.png" "the menu with $config.conf"
    choose "$menu" portal1
    race=$(find_window Form2) || fail "$config.conf: no window Form2"
    close_ends "$race"
  done
}

"$check"
echo "$check passed"
