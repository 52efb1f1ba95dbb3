#!/usr/bin/env bash
# window_test.sh BINARY CLOSE_WINDOW_TOOL: the real program in a real X11 window. It opens a
# 640 x 400 window titled vexal25-herald.cc that cannot be made smaller, writes well-formed
# console lines, ends with status 0 on an Escape key-down and on a window close, and exits
# non-zero when its console line cannot be written and, without ever opening a window, when no
# audio output can be opened.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
binary=$1
close_window=$2
out=$(mktemp)
trap 'rm -f "$out"' EXIT

# --- Escape ends the run with status 0 -------------------------------------------------------
start_program "$binary" "$out"
id=$(wait_for_window "$out") || exit 1
[ "$(window_size "$id")" = "640x400" ] || e2e_fail "expected a 640x400 window, saw $(window_size "$id")"
sleep 1.5
check_minimum_size "$id"
# Keys other than Escape, an Escape key-up alone and mouse input are ignored.
timeout 5 xdotool windowfocus "$id" 2>/dev/null || true
xdotool key space Return a
xdotool keyup Escape
xdotool mousemove --window "$id" 100 100 click 1
sleep 0.5
kill -0 "$program_pid" 2>/dev/null || e2e_fail "expected the program to ignore other keys, an Escape key-up and the mouse, saw it end"
end_run send_escape "$id"
status=$exit_status
[ "$status" = 0 ] || e2e_fail "Escape: expected exit status 0, saw $status"

# Console lines: "Time: ", the shortest fixed notation of whole milliseconds, ESC [F, LF.
lines=$(tr -d '\r' <"$out" | grep -c '^Time: ')
[ "$lines" -ge 10 ] || e2e_fail "expected at least 10 console lines, saw $lines"
bad=$(LC_ALL=C grep -avE $'^Time: (0|[1-9][0-9]*)(\\.[0-9]{0,2}[1-9])?\x1b\\[F$' "$out" | head -n 3)
[ -z "$bad" ] || e2e_fail "expected only well-formed console lines, saw $(printf '%q' "$bad")"
LC_ALL=C head -c 15 "$out" | cmp -s - <(printf 'Time: 0.001\x1b[F\n') || e2e_fail "expected the first line to be t = 0.001, saw $(LC_ALL=C head -c 15 "$out" | od -c | head -n 1)"
echo "escape: ok, $lines console lines"

# --- Closing the window ends the run with status 0 -------------------------------------------
start_program "$binary" "$out"
id=$(wait_for_window "$out") || exit 1
sleep 1
end_run "$close_window" "$id"
status=$exit_status
[ "$status" = 0 ] || e2e_fail "window close: expected exit status 0, saw $status"
echo "close: ok"

# --- Standard output on a full device: the first console line fails, and that is fatal -------
start_program "$binary" /dev/full
wait_for_exit 30; status=$exit_status
[ "$status" != 0 ] && [ "$status" != timeout ] || e2e_fail "expected a non-zero status with stdout on /dev/full, saw $status"
echo "full console: ok (status $status)"

# --- No usable audio output: non-zero status, and no window, no frame ------------------------
SDL_AUDIODRIVER=no-such-driver start_program "$binary" "$out"
wait_for_exit 10; status=$exit_status
[ "$status" != 0 ] && [ "$status" != timeout ] || e2e_fail "without audio: expected a non-zero exit status, saw $status"
[ ! -s "$out" ] || e2e_fail "without audio: expected no frame drawn, saw $(head -c 80 "$out")"
xdotool search --name '^vexal25-herald\.cc$' >/dev/null 2>&1 && e2e_fail "without audio: expected no window, saw one"
echo "no audio: ok (status $status)"
