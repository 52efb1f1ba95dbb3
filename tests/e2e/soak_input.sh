#!/usr/bin/env bash
# soak_input.sh BINARY: one whole run of the program, about 114 s, with the window pushed around
# all the time: resized from 1 x 1 and 100 x 80 up to 1600 x 1000 (past the screen), hidden and
# shown, focused and unfocused, with keys, text and mouse input that the program must ignore.
# Meant for the sanitizer builds: the run must end by itself with status 0 and without any
# sanitizer report in the program's output.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
binary=$1
out=$(mktemp) audio=$(mktemp)
trap 'rm -f "$out" "$audio"' EXIT
# The disk driver, so that the audio callback runs on its own thread the whole time.
record_sound "$audio"
start_program "$binary" "$out"
window=$(wait_for_window "$out") || exit 1
opened=$SECONDS
root=$(xwininfo -root | awk '/Window id:/ {print $4}')

# Sizes in turn: tiny ones below the minimum (there is no window manager to refuse them), odd
# ones, the design size, and ones larger than the screen.
sizes=(100x80 1600x1000 1x1 641x401 333x777 1280x1024 640x400 2x1000 1000x2 800x600)
keys=(space a Return Tab shift+Tab ctrl+c alt+F4 F1 Up Down Left Right BackSpace Delete
  KP_Enter super Menu F11 q Escape)
step=0 actions=0
act() { timeout 5 "$@" >/dev/null 2>&1 || true; actions=$((actions + 1)); }
while kill -0 "$program_pid" 2>/dev/null; do
  [ $((SECONDS - opened)) -lt 180 ] || break
  size=${sizes[step % ${#sizes[@]}]}
  act xdotool windowsize "$window" "${size%x*}" "${size#*x}"
  if [ "$step" -eq 0 ]; then
    sleep 0.5
    # Nothing stands between the request and the window here, so the tiny size really applies.
    [ "$(window_size "$window")" = "$size" ] || e2e_fail "the window is $(window_size "$window"), not $size"
  fi
  case $((step % 5)) in
    0) act xdotool windowfocus "$root" ;;
    1) act xdotool windowunmap "$window"; sleep 0.2; act xdotool windowmap "$window" ;;
    2) act xdotool windowminimize "$window"; act xdotool windowactivate "$window" ;;
    3) act xdotool windowmove "$window" $((step * 37 % 700)) $((step * 53 % 500)) ;;
    4) act xdotool mousemove --window "$window" 5 5 click 1 click 3 click 4 click 5 ;;
  esac
  act xdotool windowfocus "$window"
  key=${keys[step % ${#keys[@]}]}
  # Escape only goes up, never down: a key-up of Escape must not end the run.
  if [ "$key" = Escape ]; then act xdotool keyup Escape; else act xdotool key "$key"; fi
  [ $((step % 7)) -eq 0 ] && act xdotool type --delay 5 'Grüße, VeXal! ünïcödé ✓'
  step=$((step + 1))
  sleep 0.3
done
wait_for_exit 60
ran=$((SECONDS - opened))
report=$(LC_ALL=C grep -aE -A 30 'ERROR: (Address|Leak)Sanitizer|runtime error:|WARNING: ThreadSanitizer' "$out" | head -n 60)
[ -z "$report" ] || e2e_fail "sanitizer report: $report"
[ "$exit_status" = 0 ] || e2e_fail "expected exit status 0, saw $exit_status: $(LC_ALL=C grep -av '^Time: ' "$out" | tail -n 20)"
frames=$(LC_ALL=C grep -ao 'Time: ' "$out" | wc -l)
last=$(LC_ALL=C tail -c 40 "$out" | LC_ALL=C grep -ao 'Time: [0-9.]*' | tail -n 1)
# Ended by the run limit, not by any of the input: alive for at least 113 s after its window
# appeared (its clock started a little before that). A frame at 1600 x 1000 in an instrumented
# build on a loaded machine can take a second, so the last time line only needs to be late.
[ "$ran" -ge 113 ] || e2e_fail "expected the run to last at least 113 s after its window opened, saw $ran s"
[ "$(echo "${last#Time: } >= 100" | bc -l)" = 1 ] || e2e_fail "last frame was '$last'"
echo "$(basename "$binary"): ended by itself after ${ran} s, $frames frames (last $last), $step rounds of $actions window and input actions"
