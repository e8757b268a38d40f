#!/usr/bin/env bash
# The Debian package: `cpack -G DEB` makes it, for the maintainer $MAINTAINER;
# it depends on the packages of the libraries the game really links and on
# the fonts it draws with, all of which this machine has; unpacked into a
# scratch root, the game its menu entry starts opens its menu under Xvfb,
# painted with its own fonts exactly as the simulator paints it.
set -euo pipefail
build=$1 id=$2 version=$3 sim=$4 xtool=$5
work=$(mktemp -d)
game_pid= xvfb_pid=
trap 'kill $game_pid $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; exit 1; }

"${CPACK:-cpack}" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" \
  -D "CPACK_DEBIAN_PACKAGE_MAINTAINER=$MAINTAINER" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack -G DEB failed"; }
deb=$work/out/guardianes_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "cpack made no $(basename "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
names=" $(echo "$depends" | sed -E 's/ \([^)]*\)//g; s/,//g') "

# Each library the game links must come from a package the .deb depends on.
for library in $(readelf -d "$build/app/guardianes" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
  owners=$(dpkg -S "*/$library" 2>/dev/null | sed 's/:.*//; s/, / /g') || fail "no package holds $library"
  found=no
  for owner in $owners; do [[ $names == *" ${owner%%:*} "* ]] && found=yes; done
  [ $found = yes ] || fail "the game links $library, of $owners, but the package does not depend on it"
done
for font in fonts-liberation fonts-dejavu-core fonts-comic-neue; do
  [[ $names == *" $font "* ]] || fail "the package does not depend on $font"
done
[[ $names != *"-dev "* ]] || fail "the package depends on a development package: $depends"

# What apt would check before installing: every dependency is here, new enough.
IFS=',' read -r -a wanted <<<"$depends"
for dependency in "${wanted[@]}"; do
  read -r name relation need <<<"$(echo "$dependency" | tr -d '()')"
  have=$(dpkg-query -W -f='${Status} ${Version}' "$name" 2>/dev/null) || fail "$name is not installed"
  [[ $have == "install ok installed "* ]] || fail "$name is not installed"
  [ -z "$relation" ] || dpkg --compare-versions "${have##* }" "$relation" "$need" ||
    fail "$name is ${have##* }, the package needs $relation $need"
done
apt-get install --simulate --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; fail "apt would not install the package"; }

root=$work/root
dpkg-deb -x "$deb" "$root"
desktop=$root/usr/share/applications/$id.desktop
[ -f "$desktop" ] || fail "the package has no menu entry $id.desktop"
[ -x "$root/usr/games/guardianes" ] || fail "the package has no /usr/games/guardianes"
command=$(sed -n 's/^Exec=//p' "$desktop")

display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

PATH="$root/usr/games:$PATH" sh -c "exec $command" 2>"$work/stderr" &
game_pid=$!
menu=$(timeout 10 xdotool search --sync --onlyvisible --name '^Form1$' | head -n 1) ||
  fail "the menu entry's command '$command' opened no menu: $(cat "$work/stderr")"
printf 'shot Form1 %s\n' "$work/expected.png" | "$sim" >/dev/null
same=no
for _ in $(seq 50); do
  "$xtool" capture "$menu" "$work/window.png"
  if cmp -s "$work/window.png" "$work/expected.png"; then same=yes; break; fi
  sleep 0.1
done
[ $same = yes ] || fail "the installed game's menu differs from the simulator's picture"
[ ! -s "$work/stderr" ] || fail "the installed game complained: $(cat "$work/stderr")"
"$xtool" close "$menu"
for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
wait "$game_pid" || fail "the installed game ended with status $?"
game_pid=
echo "package test passed"
