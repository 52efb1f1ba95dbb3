#!/usr/bin/env bash
# with_xvfb.sh COMMAND...: runs COMMAND with DISPLAY set to a fresh Xvfb server of its own
# (1280 x 1024, 24-bit) and stops the server afterwards. Each test gets its own display, so
# tests can run in parallel. The command's exit status is passed through.
#
# The server and the command run 10 steps nicer than the caller (E2E_NICE changes the step): a
# program under test draws as fast as it can for as long as its test lasts, and while the test
# command builds the next configuration beside it, the build should not wait for frames that
# nobody counts. The tests hold at whatever frame rate that leaves them.
set -uo pipefail
nice=(nice -n "${E2E_NICE:-10}")

display_fifo=$(mktemp -u)
mkfifo "$display_fifo"
"${nice[@]}" Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r display_number <"$display_fifo"
rm -f "$display_fifo"
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null' EXIT

export DISPLAY=":$display_number"
"${nice[@]}" "$@"
