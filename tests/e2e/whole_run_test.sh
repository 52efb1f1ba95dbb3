#!/usr/bin/env bash
# whole_run_test.sh BINARY CONSOLE_CLOCK CHECKER MOMENTS: one whole run, left alone, judged twice,
# since every whole run costs two minutes:
# - the program ends by itself with status 0 no earlier than the run limit (MOMENTS limit) after
#   its start instant and within a few seconds after it (run_teardown_seconds), its last frame
#   drawn within one frame's step of the limit: 0.1 s, or the longest step between its last
#   frames where a busy machine draws fewer than ten a second;
# - SDL2's disk audio driver recorded the whole song once, then silence (CHECKER,
#   audio_disk_check).
#
# CONSOLE_CLOCK measures the run from the program's own start instant, recovered from the
# console lines' arrival times: never before the real start instant and at most about 1 ms
# after it, so a program that ends at the first pass past the limit passes and one that ends
# 0.1 s before it fails, on a quiet machine and on a busy one alike.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
binary=$1 console_clock=$2 checker=$3 moments=$4
limit=$("$moments" limit) || e2e_fail "no run limit from $moments"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The driver sleeps a whole number of milliseconds per block and falls behind the wall clock on a
# busy machine: a block every 100 ms instead of every 170 has the file hold the whole song well
# before the program ends, whatever the load.
record_sound "$work/sound.raw" 100
report=$(timeout $((2 * ${limit%.*})) "$console_clock" "$binary") || e2e_fail "could not time the run: ${report:-no report}"
echo "$report"
read -r _ status _ ran _ <<<"${report//,/}"
last=$(sed -n 's/.*last t \([^,]*\),.*/\1/p' <<<"$report")
gap=$(sed -n 's/.*last gap \([0-9.]*\) s.*/\1/p' <<<"$report")
[ "$status" = 0 ] || e2e_fail "expected exit status 0, saw $status"
latest=$(echo "$limit + $run_teardown_seconds" | bc -l)
[ "$(echo "$ran >= $limit && $ran <= $latest" | bc -l)" = 1 ] ||
  e2e_fail "expected the run to end $limit to $latest s after its start instant, saw $ran s"
[ -n "$gap" ] || e2e_fail "no step between the last frames in the report: $report"
earliest=$(echo "g = $gap; if (g < 0.1) g = 0.1; $limit - g" | bc -l)
[ "$(echo "$last >= $earliest && $last <= $limit" | bc -l)" = 1 ] ||
  e2e_fail "expected the last frame at t between $earliest and $limit (the last frames' longest step $gap s), saw t = $last"
"$checker" "$work/sound.raw" whole || e2e_fail "the device did not play the song once, then silence"
