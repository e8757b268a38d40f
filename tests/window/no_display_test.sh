#!/usr/bin/env bash
# No display at all, or a display that is not there: the game says so in
# one clear line on standard error and ends with status 1, without a crash.
source "$(dirname "$0")/harness.sh"

expect_one_line_and_status_1() {
  local what=$1
  shift
  status=0
  "$@" >"$work/stdout" 2>"$work/stderr" || status=$?
  [ "$status" = 1 ] || fail "$what: status $status, not 1"
  [ "$(wc -l <"$work/stderr")" = 1 ] || fail "$what: not one line on standard error"
  grep -q '^guardianes: ' "$work/stderr" || fail "$what: the line does not say who speaks"
  echo "$what: $(cat "$work/stderr")"
}

expect_one_line_and_status_1 "no display" env -u DISPLAY -u WAYLAND_DISPLAY "$game"
# An X display number no server listens on.
expect_one_line_and_status_1 "a display that is not there" env -u WAYLAND_DISPLAY DISPLAY=:4999 "$game"
expect_one_line_and_status_1 "a Wayland display that is not there" \
  env -u DISPLAY WAYLAND_DISPLAY="$work/no-such-socket" XDG_RUNTIME_DIR="$work" "$game"
echo "no-display test passed"
