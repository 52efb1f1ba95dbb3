#!/usr/bin/env bash
# test-all.sh [--prepare-beside COMMAND] STAGE...: what `make test` runs, with the Makefile's
# stages. Builds each stage's configuration in turn, one build at a time with every core, and
# starts each stage's tests in the background as soon as its build is done, so that the tests that
# wait on the clock (whole runs of the programs, the soaks, the fuzz minute) run beside the next
# builds instead of after them. The programs under test run at a lower priority
# (tests/e2e/with_xvfb.sh), so they take only the time the builds leave over and never hold a
# build up.
#
# Each stage is a pair of make targets, build-STAGE and check-STAGE. The checks' output goes to
# build/logs/STAGE.log; it is printed once the stage has finished, then a summary with each
# stage's wall time. The status is 0 only if every build and every check passed.
#
# --prepare-beside "COMMAND": runs COMMAND (a shell command: installing the later stages'
# packages, making what their checks need) while the first stages build, instead of before them;
# its output goes to build/logs/prepare.log, and a failure fails the run. A later stage's own
# install waits for it on install-deps.sh's lock. Where apt would need a password, it runs first.
set -uo pipefail
cd "$(dirname "$0")/.."
logs=build/logs
mkdir -p "$logs"
began=$SECONDS
declare -A pid=() took=() result=()
failed=0

prepare_pid=
if [ "${1:-}" = --prepare-beside ]; then
  prepare=$2
  shift 2
  if [ "$(id -u)" -eq 0 ] || sudo -n true 2>/dev/null; then
    echo "===== $prepare: in the background (log: $logs/prepare.log) ====="
    bash -c "$prepare" >"$logs/prepare.log" 2>&1 &
    prepare_pid=$!
  else
    bash -c "$prepare" || exit 1
  fi
fi
[ $# -gt 0 ] || { echo "usage: test-all.sh [--prepare-beside COMMAND] STAGE... (the Makefile's STAGES)" >&2; exit 2; }

# finish STAGE: waits for the stage's checks and prints their log.
finish() {
  local stage=$1
  wait "${pid[$stage]}"
  read -r "result[$stage]" "took[$stage]" <"$logs/$stage.result" || result[$stage]=lost
  echo "===== checks of $stage: $([ "${result[$stage]}" = 0 ] && echo passed || echo FAILED) in ${took[$stage]} s ====="
  cat "$logs/$stage.log"
  [ "${result[$stage]}" = 0 ] || failed=1
}

for stage in "$@"; do
  echo "===== build of $stage ($((SECONDS - began)) s in) ====="
  build_began=$SECONDS
  if ! make --no-print-directory "build-$stage"; then
    echo "===== build of $stage FAILED ====="
    result[$stage]=build
    failed=1
    continue
  fi
  echo "===== build of $stage done in $((SECONDS - build_began)) s; its checks run in the background ====="
  # The checks note their own status and wall time: they end in any order.
  (
    checks_began=$(date +%s)
    make --no-print-directory "check-$stage" >"$logs/$stage.log" 2>&1
    echo "$? $(($(date +%s) - checks_began))" >"$logs/$stage.result"
  ) &
  pid[$stage]=$!
done

for stage in "$@"; do
  [ -n "${pid[$stage]:-}" ] && finish "$stage"
done
if [ -n "$prepare_pid" ] && ! wait "$prepare_pid"; then
  echo "===== $prepare: FAILED ====="
  cat "$logs/prepare.log"
  failed=1
fi

echo "===== summary after $((SECONDS - began)) s ====="
for stage in "$@"; do
  case ${result[$stage]:-} in
    0) echo "  $stage: passed (checks ${took[$stage]} s)" ;;
    build) echo "  $stage: build FAILED" ;;
    *) echo "  $stage: checks FAILED (status ${result[$stage]}, ${took[$stage]} s; log in $logs/$stage.log)" ;;
  esac
done
exit "$failed"
