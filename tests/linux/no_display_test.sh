#!/usr/bin/env bash
# no_display_test.sh BINARY: with no display to be reached (no X server, no Wayland compositor, no
# graphics device) the program ends by itself with a non-zero status and draws no frame: it
# never runs on without a window (SDL2's offscreen driver would let it; its dummy driver must be
# asked for by name).
set -uo pipefail
source "$(dirname "$0")/../e2e/lib.sh"
binary=$1
out=$(mktemp)
trap 'rm -f "$out"' EXIT
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
start_program "$binary" "$out"
wait_for_exit 60
[ "$exit_status" != 0 ] && [ "$exit_status" != timeout ] ||
  e2e_fail "with no display: expected a non-zero exit status, saw $exit_status"
LC_ALL=C grep -aq 'Time: ' "$out" &&
  e2e_fail "with no display: expected no frame, saw console lines (a run without a window)"
echo "no display: ok (status $exit_status)"
