#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Lays out every C++ file the way .clang-format says, or with --check only
# says which files it would change, and fails if any.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(find app bench fuzz paint runtime scenes session sim sound tests tools -name '*.cpp' -o -name '*.h' 2>/dev/null | sort)
if [ "${1:-}" = --check ]; then
  if ! clang-format-14 --dry-run --Werror "${files[@]}" 2>/dev/null; then
    echo "These files are not laid out as .clang-format says (run bash tools/format.sh):"
    for file in "${files[@]}"; do
      clang-format-14 --dry-run --Werror "$file" >/dev/null 2>&1 || echo "  $file"
    done
    exit 1
  fi
else
  clang-format-14 -i "${files[@]}"
fi
