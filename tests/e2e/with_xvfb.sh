#!/usr/bin/env bash
# with_xvfb.sh COMMAND...: runs COMMAND with DISPLAY set to a fresh Xvfb server of its own
# (1280 x 1024, 24-bit) and stops the server afterwards. Each test gets its own display, so
# tests can run in parallel. The command's exit status is passed through.
set -uo pipefail

display_fifo=$(mktemp -u)
mkfifo "$display_fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r display_number <"$display_fifo"
rm -f "$display_fifo"
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null' EXIT

export DISPLAY=":$display_number"
"$@"
