#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Brings the template of the game's texts, po/guardianes.pot, and every
# language's PO file up to date with the game's sources: run it after
# changing a text of the game's, then translate what msgmerge marks new or
# fuzzy. A test fails while the template and the sources disagree.
#   bash tools/update-po.sh            the template and every language
#   bash tools/update-po.sh LANGUAGE   also starts po/LANGUAGE.po, for a new language
set -euo pipefail
cd "$(dirname "$0")/.."
case $# in
  0) ;;
  1) [[ $1 =~ ^[a-z]{2,3}(_[A-Z]{2})?$ ]] || { echo "update-po.sh: '$1' is no language name such as de or pt_BR" >&2; exit 2; } ;;
  *) echo "usage: bash tools/update-po.sh [LANGUAGE]" >&2; exit 2 ;;
esac
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target guardianes-template
cp build/po/guardianes.pot po/guardianes.pot
if [ $# = 1 ] && [ ! -e "po/$1.po" ]; then
  msginit --no-translator --input=po/guardianes.pot --locale="$1.UTF-8" --output-file="po/$1.po"
fi
for po in po/*.po; do
  [ -e "$po" ] || continue
  msgmerge --quiet --update --backup=none "$po" po/guardianes.pot
done
