#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Regenerates the pictures of docs/pictures/ from the simulator's shots, so
# that the README always shows the game exactly as it paints today.
#   bash tools/pictures.sh [BUILD_DIR]     (BUILD_DIR defaults to build)
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
install_missing_packages
build=${1:-build}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target guardianes-sim >/dev/null
sim=$(realpath "$build/app/guardianes-sim")
out=$PWD/docs/pictures
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs one simulator script given on standard input; shot paths are relative
# to docs/pictures. The simulator answers only a refused or ignored command,
# which none of these scripts should have, and a `dump`. Each NAME=VISIBLE
# argument checks, in the dump the script ends with, that the control NAME
# is shown (true) or hidden (false), so that a picture never silently shows
# some other moment than its name says.
shoot() {
  local answer check
  answer=$(cd "$out" && "$sim")
  if grep -q '"ignored"' <<<"$answer"; then
    echo "pictures.sh: the simulator did not do what the script asked: $answer" >&2
    exit 1
  fi
  for check in "$@"; do
    if ! grep -q "{\"Name\":\"${check%=*}\"[^}]*\"Visible\":${check#*=}[,}]" <<<"$answer"; then
      echo "pictures.sh: ${check%=*} is not visible=${check#*=} where the picture expects it" >&2
      exit 1
    fi
  done
}

# Counted clicks on one control: a press within 500 ms and 2 pixels of the
# previous one would only finish a double-click, so the clicks alternate
# between two spots a few pixels either side of the centre.
clicks() {
  local scene=$1 x=$2 y=$3 count=$4 pause=$5 i
  for ((i = 0; i < count; i++)); do
    echo "click $scene $((x + (i % 2 ? 5 : -5))) $y"
    echo "wait $pause"
  done
}

# The menu as the game opens.
shoot <<'EOF'
shot Form1 menu.png
EOF

# A departure: a frame every fourth wake-up (62.5 ms), from the click on the
# police card to the 80th light tick that hides the menu.
{
  echo "click Form1 portal1"
  for i in $(seq -w 0 20); do
    echo "shot Form1 $work/departure-$i.png"
    echo "wait 62.5"
  done
} | shoot
convert -delay 6 "$work"/departure-0*.png "$work"/departure-1[0-9].png -delay 200 "$work"/departure-20.png \
  -loop 0 +dither -layers Optimize "$out/departure.gif"

# The race opens at 1250 ms; its signal turns red 609 ms later and green at
# 1828 ms, when "Avanzar" starts to take clicks.
shoot <<'EOF'
click Form1 portal1
wait 2000
shot Form2 race-start.png
EOF
{
  printf 'click Form1 portal1\nwait 3200\n'
  clicks Form2 156 524 52 100
  printf 'shot Form2 race-won.png\ndump Form2\n'
} | shoot play1=true play2=false
{
  printf 'click Form1 portal1\nwait 3200\n'
  clicks Form2 156 524 20 150
  printf 'wait 15000\nshot Form2 race-lost.png\ndump Form2\n'
} | shoot play1=false play2=true

# The fire: "AGUA" is the pump; every fifth counted click puts out a window.
shoot <<'EOF'
click Form1 portal2
wait 1300
shot Form3 fire-start.png
EOF
{
  printf 'click Form1 portal2\nwait 1300\n'
  clicks Form3 100 340 12 100
  printf 'shot Form3 fire-playing.png\ndump Form3\n'
} | shoot ven2=false ven3=true Line1=true
{
  printf 'click Form1 portal2\nwait 1300\n'
  clicks Form3 100 340 40 100
  printf 'shot Form3 fire-won.png\ndump Form3\n'
} | shoot win=true
{
  printf 'click Form1 portal2\nwait 1300\n'
  clicks Form3 100 340 3 100
  printf 'wait 35000\nshot Form3 fire-lost.png\ndump Form3\n'
} | shoot lose=true

# The patient. The resuscitation device lies partly under its energy bar, so
# the click aims at a pixel of the device itself; the first flash comes on the
# tenth tick of 156.25 ms.
shoot rcp=true <<'EOF'
click Form1 portal3
wait 2000
shot Form4 patient.png
click Form4 76 240
wait 1700
shot Form4 patient-resuscitation.png
dump Form4
EOF

# The street opens with the car still below the window; it comes into view
# after two seconds. Night falls on the 120th tick of the sky (20.6 s after
# the street opens) and the closing text shows on the 158th (27.2 s).
shoot es1=true lbl=true <<'EOF'
click Form1 portal4
wait 4000
shot Form5 street.png
wait 19000
shot Form5 street-night.png
wait 7000
shot Form5 street-end.png
dump Form5
EOF

echo "pictures written to docs/pictures/"
