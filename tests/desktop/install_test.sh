#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `cmake --install` into a scratch folder: the game, its menu entry, its
# AppStream file and its icon in every size land where a desktop looks for
# them, and the installed game answers --help and --version as users of
# Linux programs expect; its manual page describes every option --help names.
set -euo pipefail
build=$1 id=$2 version=$3
shift 3
sizes=("$@")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

fail() { echo "FAIL: $*"; exit 1; }

"${CMAKE:-cmake}" --install "$build" --prefix "$root/usr" >"$root/install.log" ||
  { cat "$root/install.log"; fail "cmake --install failed"; }
game=$root/usr/games/guardianes
[ -x "$game" ] || fail "no game in games/"
desktop=$root/usr/share/applications/$id.desktop
[ -f "$desktop" ] || fail "no menu entry $id.desktop in share/applications/"
[ -f "$root/usr/share/metainfo/$id.metainfo.xml" ] || fail "no $id.metainfo.xml in share/metainfo/"
grep -qx "Icon=$id" "$desktop" || fail "the menu entry does not name the installed icon"

for size in "${sizes[@]}"; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  [ "$(identify -format '%wx%h %A' "$icon")" = "${size}x$size True" ] ||
    fail "the ${size}x${size} icon is $(identify -format '%wx%h, transparency %A' "$icon")"
done

[ "$("$game" --version)" = "guardianes $version" ] || fail "--version does not say 'guardianes $version'"
"$game" --help >"$root/help" || fail "--help ended with status $?"
grep -q -- "--scale" "$root/help" || fail "--help does not describe --scale"
page=$root/usr/share/man/man6/guardianes.6.gz
MANWIDTH=200 LC_ALL=C man -l "$page" >"$root/manual" 2>"$root/man.err" && [ ! -s "$root/man.err" ] ||
  fail "man cannot render the manual page: $(cat "$root/man.err")"
for option in $(grep -oE -- '(^| )--?[a-z][a-z-]*' "$root/help"); do
  grep -qwF -- "$option" "$root/manual" || fail "the manual page does not describe $option"
done
echo "install test passed"
