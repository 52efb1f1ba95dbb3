#!/usr/bin/env bash
# first_seconds_test.sh BINARY CHECKER SECONDS: runs the program with SDL2's disk audio driver,
# which writes what the callback produced to a file in real time, stops it with Escape once the
# file holds SECONDS of sound after the silent blocks of the paused device, and checks the file
# against the pre-rendered song (CHECKER, audio_disk_check).
set -uo pipefail
source "$(dirname "$0")/lib.sh"
binary=$1 checker=$2 seconds=$3
out=$(mktemp) audio=$(mktemp)
trap 'rm -f "$out" "$audio"' EXIT
record_sound "$audio"
start_program "$binary" "$out"
window=$(wait_for_window "$out") || exit 1
# A second more than asked for covers the silent blocks written while the device was paused.
wait_for_bytes "$audio" $(((seconds + 1) * 48000 * 4)) $((seconds * 10 + 30)) ||
  e2e_fail "expected $((seconds + 1)) s of sound in the driver's file, saw $(stat -c %s "$audio") bytes"
end_with_escape "$window" 30
[ "$exit_status" = 0 ] || e2e_fail "expected exit status 0, saw $exit_status"
"$checker" "$audio" "$seconds" || e2e_fail "the device did not play the song from its start"
