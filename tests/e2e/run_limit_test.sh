#!/usr/bin/env bash
# run_limit_test.sh BINARY CONSOLE_CLOCK: left alone, the program ends by itself with status 0
# no earlier than 114 s after its start instant and within a few seconds after it (3, or
# RUN_LIMIT_TEARDOWN), its last frame drawn at a t between 113.9 and 114 (or within the longest
# step between its last frames of 114, where a busy machine draws fewer than ten a second).
#
# console_clock measures the run from the program's own start instant, recovered from the
# console lines' arrival times: never before the real start instant and at most about 1 ms
# after it, so a program that ends at 114.001 s (the first pass past the limit) passes and one
# that ends at 113.9 s fails, on a quiet machine and on a busy one alike.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
binary=$1 console_clock=$2
report=$(SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} timeout 200 "$console_clock" "$binary") ||
  e2e_fail "could not time the run: ${report:-no report}"
echo "$report"
read -r _ status _ ran _ <<<"${report//,/}"
last=$(sed -n 's/.*last t \([^,]*\),.*/\1/p' <<<"$report")
[ "$status" = 0 ] || e2e_fail "expected exit status 0, saw $status"
latest=$((114 + ${RUN_LIMIT_TEARDOWN:-3}))
[ "$(echo "$ran >= 114.0 && $ran <= $latest" | bc -l)" = 1 ] ||
  e2e_fail "expected the run to end 114 to $latest s after its start instant, saw $ran s"
# The last frame lies within one frame's step of the limit: 0.1 s, or the longest step between the
# last frames where a busy machine draws fewer than ten frames a second.
gap=$(sed -n 's/.*last gap \([0-9.]*\) s.*/\1/p' <<<"$report")
[ -n "$gap" ] || e2e_fail "no step between the last frames in the report: $report"
earliest=$(echo "g = $gap; if (g < 0.1) g = 0.1; 114 - g" | bc -l)
[ "$(echo "$last >= $earliest && $last <= 114" | bc -l)" = 1 ] ||
  e2e_fail "expected the last frame at t between $earliest and 114 (the last frames' longest step $gap s), saw t = $last"
