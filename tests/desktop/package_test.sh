#!/usr/bin/env bash
# The Debian package: `cpack -G DEB` makes it, for the maintainer $MAINTAINER;
# it depends on the packages of the libraries the game really links and on
# the fonts it draws with, all of which this machine has; unpacked into a
# scratch root, the game its menu entry starts opens its menu under Xvfb,
# painted with its own fonts exactly as the simulator paints it.
build=$1 id=$2 version=$3
source "$(dirname "$0")/../window/harness.sh" "" "$4" "$5"

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
command=$(sed -n 's/^Exec=//p' "$desktop" | head -n 1)

start_xvfb
launch env PATH="$root/usr/games:$PATH" sh -c "exec $command"
menu=$(find_window Form1) || fail "the menu entry's command '$command' opened no menu"
sim_shot Form1 "$work/expected.png"
expect_picture "$menu" "$work/expected.png" "the installed game's menu"
[ ! -s "$work/stderr" ] || fail "the installed game complained"
close_ends "$menu"
echo "package test passed"
