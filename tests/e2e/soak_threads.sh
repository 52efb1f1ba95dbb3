#!/usr/bin/env bash
# soak_threads.sh BINARY SECONDS: a ThreadSanitizer build of the program, run with SDL2's disk
# audio driver so that audio_callback really runs on SDL2's audio thread while the main thread
# draws. After SECONDS, and once the callback has filled half as many seconds of sound, an
# Escape ends it; it must end with status 0, with no ThreadSanitizer report, and the driver's
# file must hold the blocks the callback filled in that time.
set -uo pipefail
# g++ 12's ThreadSanitizer expects its shadow memory at fixed addresses, which a kernel with more
# mmap randomisation bits than this machine's 28 can collide with ("unexpected memory
# mapping"). Without address-space randomisation the layout always fits, so run that way when
# the kernel allows it.
if [ -z "${SOAK_FIXED_LAYOUT:-}" ] && setarch "$(uname -m)" -R true 2>/dev/null; then
  SOAK_FIXED_LAYOUT=1 exec setarch "$(uname -m)" -R "$0" "$@"
fi
source "$(dirname "$0")/lib.sh"
binary=$1 seconds=$2
out=$(mktemp) audio=$(mktemp)
trap 'rm -f "$out" "$audio"' EXIT
# One block every 100 ms instead of every 170: more callbacks race the frame loop.
record_sound "$audio" 100
start_program "$binary" "$out"
window=$(wait_for_window "$out") || exit 1
sleep "$seconds"
# ThreadSanitizer and a busy machine slow the driver's thread down too: wait for the sound.
wait_for_bytes "$audio" $((seconds * 48000 * 4 / 2)) $((seconds * 4))
kill -0 "$program_pid" 2>/dev/null || e2e_fail "the program ended before the Escape"
end_with_escape "$window" 60
report=$(LC_ALL=C grep -a -A 40 'WARNING: ThreadSanitizer' "$out" | head -n 80)
[ -z "$report" ] || e2e_fail "ThreadSanitizer report: $report"
[ "$exit_status" = 0 ] || e2e_fail "expected exit status 0, saw $exit_status: $(LC_ALL=C grep -av '^Time: ' "$out" | tail -n 20)"
# 32-bit float mono: 4 bytes a frame. The song starts before the window opens, so at least
# SECONDS of it were written by the callback (a busy machine only makes the driver late).
bytes=$(stat -c %s "$audio")
[ "$bytes" -ge $((seconds * 48000 * 4 / 2)) ] || e2e_fail "expected at least $((seconds * 48000 * 4 / 2)) bytes of sound in ${seconds} s, saw $bytes"
frames=$(LC_ALL=C grep -ao 'Time: ' "$out" | wc -l)
echo "$(basename "$binary"): ${seconds} s, $frames frames, $((bytes / 4)) samples played, no report"
