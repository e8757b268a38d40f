#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package `cpack -G DEB` makes for the maintainer $MAINTAINER:
# lintian finds no error and no warning in it (it would miss the libraries'
# dependencies, libc's among them); it depends on the fonts the game draws
# with, and apt finds all it depends on here and new enough. Unpacked, its
# menu entry, AppStream file and icon in every size lie where a desktop
# looks for them; the game answers --version and --help, and its manual
# page describes every option --help names; the game the menu entry starts
# shows its menu under Xvfb, painted with its own fonts exactly as the
# simulator paints it. Run as
# `package_test.sh BUILD APP_ID VERSION SIM XTOOL ICON_SIZE...`.
build=$1 id=$2 version=$3
sizes=("${@:6}")
source "$(dirname "$0")/../window/harness.sh" "" "$4" "$5"

"${CPACK:-cpack}" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" \
  -D "CPACK_DEBIAN_PACKAGE_MAINTAINER=$MAINTAINER" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack -G DEB failed"; }
deb=$work/out/guardianes_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "cpack made no $(basename "$deb")"
lintian --fail-on error,warning "$deb" || fail "lintian rejects the package"
depends=$(dpkg-deb -f "$deb" Depends)
names=" $(echo "$depends" | sed -E 's/ \([^)]*\)//g; s/,//g') "

for font in fonts-liberation fonts-dejavu-core fonts-comic-neue; do
  [[ $names == *" $font "* ]] || fail "the package does not depend on $font"
done
[[ $names != *"-dev "* ]] || fail "the package depends on a development package: $depends"
apt-get install --simulate --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; fail "apt would not install the package"; }

root=$work/root
dpkg-deb -x "$deb" "$root"
[ -f "$root/usr/share/metainfo/$id.metainfo.xml" ] || fail "no $id.metainfo.xml in share/metainfo/"
desktop=$root/usr/share/applications/$id.desktop
grep -qx "Icon=$id" "$desktop" || fail "no menu entry $id.desktop that names the installed icon"
for size in "${sizes[@]}"; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ "$(identify -format '%wx%h %A' "$icon")" = "${size}x$size True" ] ||
    fail "no ${size}x${size} icon with transparency in $(dirname "$icon")"
done

game=$root/usr/games/guardianes
[ "$("$game" --version)" = "guardianes $version" ] || fail "--version does not say 'guardianes $version'"
"$game" --help >"$work/help" || fail "--help ended with status $?"
grep -q -- "--scale" "$work/help" || fail "--help does not describe --scale"
MANWIDTH=200 LC_ALL=C man -l "$root/usr/share/man/man6/guardianes.6.gz" >"$work/manual" 2>/dev/null ||
  fail "man cannot render the manual page"
for option in $(grep -oE -- '(^| )--?[a-z][a-z-]*' "$work/help"); do
  grep -qwF -- "$option" "$work/manual" || fail "the manual page does not describe $option"
done

command=$(sed -n 's/^Exec=//p' "$desktop" | head -n 1)
[ -n "$command" ] || fail "the menu entry starts no command"
start_xvfb
env PATH="$root/usr/games:$PATH" sh -c "exec $command" 2>"$work/stderr" &
game_pid=$!
menu=$(find_window Form1) || fail "the menu entry's command '$command' opened no menu"
sim_shot Form1 "$work/expected.png"
expect_picture "$menu" "$work/expected.png" "the installed game's menu"
[ ! -s "$work/stderr" ] || fail "the installed game complained"
close_ends "$menu"
echo "package test passed"
