#!/usr/bin/env bash
# audio_disk_test.sh BINARY CHECKER SECONDS [full]: runs the program with SDL2's disk audio
# driver, which writes what the callback produced to a file in real time, and checks the file
# against the pre-rendered song. Short form: stops the program with Escape once the file holds
# SECONDS of sound after the silent blocks of the paused device.
# Full form: lets it run to its own end, then requires the whole song followed by silence. The
# driver sleeps a whole number of milliseconds per block and falls behind the wall clock on a
# busy machine, so the full form has it write a block every 100 ms instead of every 170: the
# file then holds the whole song well before the program ends, whatever the load.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
binary=$1 checker=$2 seconds=$3 mode=${4:-short}
out=$(mktemp) audio=$(mktemp)
trap 'rm -f "$out" "$audio"' EXIT
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio"
[ "$mode" = full ] && export SDL_DISKAUDIODELAY=100
start_program "$binary" "$out"
window=$(wait_for_window "$out") || exit 1
if [ "$mode" = full ]; then
  wait_for_exit 180
else
  # A second more than asked for covers the silent blocks written while the device was paused.
  wait_for_bytes "$audio" $(((seconds + 1) * 48000 * 4)) $((seconds * 10 + 30)) ||
    e2e_fail "expected $((seconds + 1)) s of sound in the driver's file, saw $(stat -c %s "$audio") bytes"
  end_with_escape "$window" 30
fi
[ "$exit_status" = 0 ] || e2e_fail "expected exit status 0, saw $exit_status"
if [ "$mode" = full ]; then
  "$checker" "$audio" 113.9 full || e2e_fail "the device did not play the song once, then silence"
else
  "$checker" "$audio" "$seconds" || e2e_fail "the device did not play the song from its start"
fi
