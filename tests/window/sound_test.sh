#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What the game plays, caught by SDL's disk audio driver, which writes the
# device's samples to a file as it plays them. Run as
# `sound_test.sh GAME SIM XTOOL CHECK CUE_SAMPLES`.
source "$(dirname "$0")/harness.sh"
cue_samples=$5

size() { stat -c %s "$1" 2>/dev/null || echo 0; }

# The idle menu opens no device; a click on a card plays the police siren
# from its first sample as the device opens; once the race's start light
# has sounded the device closes again, and nothing more is written while
# nothing sounds.
disk() {
  start_xvfb
  export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/played.raw
  start_menu
  sleep 2
  [ "$(size "$work/played.raw")" = 0 ] || fail "the idle menu wrote $(size "$work/played.raw") bytes of sound"
  choose "$menu" portal1
  sleep 1
  "$cue_samples" police-siren >"$work/siren.raw"
  local heard
  heard=$(size "$work/played.raw")
  [ "$heard" -ge 20000 ] || fail "1 s after the click only $heard bytes were played"
  # The siren begins with the device: at most one buffer (12 ms) of silence first.
  /usr/bin/python3 - "$work/played.raw" "$work/siren.raw" <<'CHECK' || fail "what the game played after the click is not the police siren"
import sys
played, siren = (open(name, "rb").read() for name in sys.argv[1:])
quiet = lambda d: (len(d) - len(d.lstrip(b"\0"))) & ~1
start = quiet(played) - quiet(siren)
sys.exit(not (0 <= start <= 512 and siren.startswith(played[start:])))
CHECK
  # The green light sounds 3.1 s after the click; its beep lasts 0.4 s.
  sleep 4.5
  heard=$(size "$work/played.raw")
  sleep 2
  [ "$(size "$work/played.raw")" = "$heard" ] || fail "the device went on writing while nothing sounded"
  close_ends "$(find_window Form2)"
}

# No audio driver at all: one line says so, and the game plays on.
no_device() {
  start_xvfb
  export SDL_AUDIODRIVER=no-such-driver
  start_menu
  choose "$menu" portal1
  close_ends "$(find_window Form2)"
  [ "$(grep -c 'without sound' "$work/stderr")" = 1 ] && [ "$(wc -l <"$work/stderr")" = 1 ] ||
    fail "not one line about the missing sound: $(cat "$work/stderr")"
}

"$check"
echo "$check passed"
