#!/usr/bin/env bash
# with_xvfb.sh COMMAND...: runs COMMAND with DISPLAY set to a fresh Xvfb server of its own
# (1280 x 1024, 24-bit) and stops the server afterwards. Each test gets its own display, so
# tests can run in parallel. The command's exit status is passed through.
#
# The server and the command run 10 steps nicer than the caller (E2E_NICE changes the step): a
# program under test draws as fast as it can for as long as its test lasts, and while the test
# command builds the next configuration beside it, the build should not wait for frames that
# nobody counts. The tests hold at whatever frame rate that leaves them.
#
# -noreset: by default the server resets itself whenever its last client leaves, and a client
# that connects during the reset is dropped. The tests search for the program's window with a
# new xdotool every 0.1 s while the program starts, so each search that ends resets the server;
# on a busy machine about one connection in thirteen then failed (xdpyinfo beside a search loop
# and three busy loops: 31 of 400 without the flag, 0 with it). A program whose connection is
# dropped does not end: Debian's SDL2 goes on to its next video driver and draws offscreen, and
# the test waits in vain for a window.
set -uo pipefail
nice=(nice -n "${E2E_NICE:-10}")

display_fifo=$(mktemp -u)
mkfifo "$display_fifo"
"${nice[@]}" Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$display_fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r display_number <"$display_fifo"
rm -f "$display_fifo"
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null' EXIT

export DISPLAY=":$display_number"
"${nice[@]}" "$@"
