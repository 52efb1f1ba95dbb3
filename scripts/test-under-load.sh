#!/usr/bin/env bash
# test-under-load.sh [RUNS]: make test as on a busy machine, RUNS times in a row (2 by default):
# each run in a fresh clone of this tree's HEAD, as CI takes it, with one CPU-bound loop of normal
# priority running beside the whole command. Prints each run's stage lines and wall time. Each
# run's whole output goes to build/under-load/RUN.log and its screenshot tests' shots to
# build/under-load/RUN-shots; the clone of a run that passed is removed, that of a failed run kept.
# The status is 0 only if every run passed. Not part of make test: it takes RUNS times as long.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-2}
logs=$root/build/under-load
mkdir -p "$logs"
work=$(mktemp -d "${TMPDIR:-/tmp}/herald-under-load.XXXXXX")

sh -c 'while :; do :; done' &
loop=$!
trap 'kill "$loop" 2>/dev/null' EXIT

failed=0
for run in $(seq "$runs"); do
  clone=$work/$run
  git clone -q "$root" "$clone" || exit 1
  began=$SECONDS
  echo "===== run $run of $runs: make test in $clone ($(git -C "$clone" log -1 --format=%h)), one busy loop beside it ====="
  (cd "$clone" && SCENES_SHOTS_DIR=$logs/$run-shots make test) >"$logs/$run.log" 2>&1
  status=$?
  grep -E '^(=====|  [a-z]+: )' "$logs/$run.log"
  echo "===== run $run: $([ $status -eq 0 ] && echo passed || echo "FAILED (tree kept: $clone)") in $((SECONDS - began)) s (log: $logs/$run.log) ====="
  if [ $status -eq 0 ]; then
    rm -rf "$clone"
  else
    failed=1
  fi
done
rmdir "$work" 2>/dev/null
exit $failed
