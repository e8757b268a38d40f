#!/usr/bin/env bash
# Debian's own checker, lintian, finds no error and no warning in the package
# `cpack -G DEB` makes for the maintainer $MAINTAINER.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"${CPACK:-cpack}" -G DEB --config "$build/CPackConfig.cmake" -B "$work" \
  -D "CPACK_DEBIAN_PACKAGE_MAINTAINER=$MAINTAINER" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; echo "FAIL: cpack -G DEB failed"; exit 1; }
lintian --fail-on error,warning "$work"/guardianes_*.deb ||
  { echo "FAIL: lintian rejects the package"; exit 1; }
echo "lintian test passed"
