#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What the game plays, caught by SDL's disk audio driver, which writes the
# device's samples to a file as it plays them. Run as
# `sound_test.sh GAME SIM XTOOL CHECK CUE_SAMPLES`.
source "$(dirname "$0")/harness.sh"
cue_samples=$5

size() { stat -c %s "$1" 2>/dev/null || echo 0; }

# The idle menu opens no device. A click on a card plays the police siren
# from its first sample as the device opens, and a race won with clicks as
# quick as a child's keeps the device open from the siren to the cheer: the
# game's log of wake-ups records one opening, and what the device wrote
# holds the siren from its start and the cheer. The device closes about two
# seconds after the cheer, and then nothing more is written.
disk() {
  start_xvfb
  local log=$work/wakeups.log played=$work/played.raw
  export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$played GUARDIANES_WAKEUP_LOG=$log
  start_menu
  sleep 2
  [ "$(size "$played")" = 0 ] || fail "the idle menu wrote $(size "$played") bytes of sound"
  ! grep -q 'audio device' "$log" || fail "the idle menu opened the audio device: $(grep 'audio device' "$log")"
  choose "$menu" portal1
  sleep 1
  "$cue_samples" police-siren >"$work/siren.raw"
  "$cue_samples" cheer >"$work/cheer.raw"
  local heard
  heard=$(size "$played")
  [ "$heard" -ge 20000 ] || fail "1 s after the click only $heard bytes were played"
  race=$(find_window Form2) || fail "no window Form2"
  # The green light comes on 3.1 s after the click; then 60 clicks on
  # "Avanzar", 60 ms apart and a few pixels from each other, so that no two
  # make a double-click, win the race (52 are enough).
  local clicks=''
  for _ in $(seq 30); do
    clicks+="mousemove --window $race 151 524 click 1 sleep 0.06 mousemove --window $race 161 524 click 1 sleep 0.06 "
  done
  sleep 1.2
  # shellcheck disable=SC2086 # one word an argument
  xdotool $clicks
  await grep -q 'audio device closed' "$log" || await grep -q 'audio device closed' "$log" ||
    fail "the device was still open 10 s after the race"
  [ "$(grep -c 'audio device opened' "$log")" = 1 ] ||
    fail "the won race opened the device $(grep -c 'audio device opened' "$log") times, not once"
  /usr/bin/python3 - "$played" "$work/siren.raw" "$work/cheer.raw" <<'CHECK' || fail "what the device wrote is not the siren, then the cheer, then two seconds of silence"
import sys
played, siren, cheer = (open(name, "rb").read() for name in sys.argv[1:])
quiet = lambda d: (len(d) - len(d.lstrip(b"\0"))) & ~1
# The siren begins with the device, at most one buffer (12 ms) of silence
# first, and sounds until the menu gives way to the race after a second.
start = quiet(played) - quiet(siren)
siren_first = 0 <= start <= 512 and played[start:start + 2 * 22050] == siren[:2 * 22050]
# The cheer sounds alone once the last step's sound has ended.
middle = cheer[len(cheer) // 4 & ~1:len(cheer) // 2 & ~1]
at = played.find(middle)
cheer_heard = at > 0 and at % 2 == 0
# The silence after the last sound, in seconds, as the driver paced it.
tail = (len(played) - len(played.rstrip(b"\0"))) / 2 / 22050
print(f"{len(played) / 2 / 22050:.2f} s written, {tail:.2f} s of them silence at the end")
sys.exit(not (siren_first and cheer_heard and 1.0 <= tail <= 3.0))
CHECK
  heard=$(size "$played")
  sleep 1
  [ "$(size "$played")" = "$heard" ] || fail "the device went on writing once closed"
  close_ends "$race"
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
