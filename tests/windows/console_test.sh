#!/usr/bin/env bash
# console_test.sh EXE: the console time line where Windows differs from a terminal. Started as
# by a double-click, with a console of its own instead of the test's output, the program runs on
# past its first console lines, shows its window and ends with status 0 on Escape. (A failed
# console write, standard output on a full device, is checked by the window test under Wine.)
set -uo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/../e2e/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)
exe=$1
export SDL_AUDIODRIVER=dummy

# --- A console of its own; start /wait passes the program's exit status on ------------------
start_program "$here/wine_program.sh" /dev/null start /wait /unix "$exe"
await_window /dev/null
sleep 3
kill -0 "$program_pid" 2>/dev/null || e2e_fail "with a console of its own the program ended within 3 s"
name=$(basename "$exe")
xdotool search --onlyvisible --name "${name//./\\.}\$" >/dev/null 2>&1 ||
  e2e_fail "no console window titled ...$name appeared"
# Wine makes a window the foreground one when it activates itself or is clicked, not when the X
# focus moves to it, which without a window manager is all a focus change is. The console window
# activates itself as it comes up, and on a busy machine it can do so after the demo's window:
# the keys then go to the console whichever window has the X focus. So, as a person would, the
# test clicks into the demo's window (its lower right corner, clear of the console window at the
# top left) before the Escape, and once more 10 s later should the console have come up after the
# click.
window=$(demo_windows | tail -n 1)
for _ in 1 2; do
  xdotool mousemove --window "$window" 600 380 click 1
  send_escape "$window"
  for _ in $(seq 100); do
    kill -0 "$program_pid" 2>/dev/null || break 2
    sleep 0.1
  done
done
wait_for_exit 15
[ "$exit_status" = 0 ] || e2e_fail "with a console of its own, Escape: expected exit status 0, saw $exit_status"
echo "own console: ok"

