#!/usr/bin/env bash
# run-fuzz.sh FUZZER SECONDS [CORPUS]: runs the module fuzzer for SECONDS, starting from the
# seed modules of tests/fuzz/corpus. Without CORPUS it works on a temporary copy, so nothing is
# kept; with CORPUS (a directory outside the repository) the inputs it finds accumulate there
# from one run to the next. A crashing input is kept in build/fuzz/artifacts and the script
# fails; on success it prints the last status line (executions, cov:, ft:, exec/s).
set -euo pipefail
fuzzer=$1
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
artifacts=$root/build/fuzz/artifacts
mkdir -p "$artifacts"
log=$(mktemp)
if [ $# -ge 3 ]; then
  corpus=$3
  mkdir -p "$corpus"
  trap 'rm -f "$log"' EXIT
else
  corpus=$(mktemp -d)
  trap 'rm -rf "$corpus" "$log"' EXIT
fi
cp "$root"/tests/fuzz/corpus/* "$corpus/"
status=0
# One process, one job: a second worker would only fight the rest of the tests for two cores.
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
  -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  tail -n 60 "$log"
  echo "module fuzzer failed (status $status); the input is kept in $artifacts" >&2
  exit "$status"
fi
grep -E '^#[0-9]+[[:space:]]+(DONE|pulse|REDUCE|NEW)' "$log" | tail -n 1 || true
grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$log" || true
echo "module fuzzer: $(find "$corpus" -type f | wc -l) inputs in the corpus, no finding in ${seconds} s"
