#!/usr/bin/env bash
# A machine without a usable font configuration. With a broken or missing
# configuration file, or only one odd face installed, the game draws every
# caption in whatever face it can find and plays on; with no face at all
# it says so in one clear line and ends with status 1.
source "$(dirname "$0")/harness.sh"
start_xvfb

mkdir -p "$work/no-fonts" "$work/one-font" "$work/cache"
face=$(find /usr/share/fonts -name 'DejaVuSansMono.ttf' | head -n 1)
[ -n "$face" ] || fail "no DejaVuSansMono.ttf to install alone (fonts-dejavu-core)"
cp "$face" "$work/one-font/"
configuration() {
  printf '<?xml version="1.0"?>\n<fontconfig><dir>%s</dir><cachedir>%s</cachedir></fontconfig>\n' "$1" "$work/cache"
}
configuration "$work/no-fonts" >"$work/none.conf"
configuration "$work/one-font" >"$work/one.conf"
printf 'this is not a font configuration <<' >"$work/broken.conf"

status=0
FONTCONFIG_FILE=$work/none.conf "$game" 2>"$work/stderr" || status=$?
[ "$status" = 1 ] || fail "with no face at all: status $status, not 1"
[ "$(wc -l <"$work/stderr")" = 1 ] || fail "with no face at all: not one line on standard error"
grep -q '^guardianes: .*font' "$work/stderr" || fail "with no face at all: the line does not speak of fonts"
echo "no face at all: $(cat "$work/stderr")"

# The menu drawn in the faces found looks as the simulator draws it with
# the same configuration, and the race's finish title finds its face too.
for config in "$work/one.conf" "$work/broken.conf" "$work/missing.conf"; do
  export FONTCONFIG_FILE=$config
  start_menu
  sim_shot Form1 "$work/expected.png" 2>/dev/null
  expect_picture "$menu" "$work/expected.png" "the menu with $(basename "$config")"
  choose "$menu" portal1
  race=$(find_window Form2) || fail "$(basename "$config"): no window Form2"
  close_ends "$race"
  echo "$(basename "$config"): the game played on; it said:"
  sed 's/^/  /' "$work/stderr"
done
echo "fonts test passed"
