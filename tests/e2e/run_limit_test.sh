#!/usr/bin/env bash
# run_limit_test.sh BINARY: left alone, the program ends by itself with status 0 about 114 s
# after its window opened (the run limit is measured from just after the window appears).
set -uo pipefail
source "$(dirname "$0")/lib.sh"
out=$(mktemp)
trap 'rm -f "$out"' EXIT
start_program "$1" "$out"
wait_for_window "$out" >/dev/null
opened=$(date +%s.%N)
wait_for_exit 180; status=$exit_status
ended=$(date +%s.%N)
[ "$status" = 0 ] || e2e_fail "exit status $status"
elapsed=$(echo "$ended - $opened" | bc -l)
echo "ended after ${elapsed} s"
[ "$(echo "$elapsed >= 113.9 && $elapsed <= 120" | bc -l)" = 1 ] || e2e_fail "ended after $elapsed s"
last=$(LC_ALL=C tail -c 40 "$out" | LC_ALL=C grep -ao 'Time: [0-9.]*' | tail -n 1)
case "$last" in "Time: 113.9"* | "Time: 114") ;; *) e2e_fail "last frame was '$last'" ;; esac
