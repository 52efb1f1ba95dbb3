#!/usr/bin/env bash
# measure_fps.sh [--until T] PROGRAM [WIDTHxHEIGHT]: a measurement, not a test. Runs the real
# program in a window on a private Xvfb display (started here unless DISPLAY is already set) with
# SDL's dummy audio driver, and prints the frames per second of each act of the timeline,
# counted from the times of its console lines. It runs the whole 114 s, or with --until T until
# the program has drawn t = T, when an Escape ends it. With WIDTHxHEIGHT the window is resized to
# that size as soon as it opens (default: it keeps its 640 x 400). The timeline_moments tool beside
# the program in its build tree's bin/ counts the frames of each act, as it does for the browser's
# measurement (measure_fps_web.mjs).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
e2e=$here/../tests/e2e
if [ -z "${DISPLAY:-}" ]; then
  exec "$e2e/with_xvfb.sh" "$0" "$@"
fi
source "$e2e/lib.sh"
until_t=
if [ "${1:-}" = --until ]; then
  until_t=${2:?usage: measure_fps.sh [--until T] PROGRAM [WIDTHxHEIGHT]}
  shift 2
fi
program=${1:?usage: measure_fps.sh [--until T] PROGRAM [WIDTHxHEIGHT]}
size=${2:-}
moments=$(dirname "$program")/timeline_moments
[ -x "$moments" ] || e2e_fail "no timeline_moments beside $program"
out=$(mktemp)
trap 'rm -f "$out"' EXIT

start_program "$program" "$out"
window=$(wait_for_window "$out")
if [ -n "$size" ]; then
  xdotool windowsize "$window" "${size%x*}" "${size#*x}"
  sleep 0.5
fi
shown=$(window_size "$window")
if [ -n "$until_t" ]; then
  wait_until "$out" "$until_t"
  send_escape "$window"
  wait_for_exit 30
else
  wait_for_exit 200
fi
[ "$exit_status" = 0 ] || e2e_fail "the program ended with status $exit_status"

echo "$(basename "$program"), window ${shown}, $(nproc) CPUs"
"$moments" frames <"$out"
