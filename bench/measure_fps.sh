#!/usr/bin/env bash
# measure_fps.sh [--until T] PROGRAM [WIDTHxHEIGHT]: a measurement, not a test. Runs the real
# program in a window on a private Xvfb display (started here unless DISPLAY is already set) with
# SDL's dummy audio driver, and prints the frames per second of each act of the timeline,
# counted from the times of its console lines. It runs the whole 114 s, or with --until T until
# the program has drawn t = T, when an Escape ends it. With WIDTHxHEIGHT the window is resized to
# that size as soon as it opens (default: it keeps its 640 x 400). The acts come from the
# timeline_moments tool beside the program in its build tree's bin/.
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
acts=$("$moments" acts) || e2e_fail "no acts from $moments"
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
# One console line per frame: "Time: <t>", ESC [F, line feed. The first frame (t = 0.001) is
# drawn before the loop starts and counts with the first act. An act cut short by --until counts
# over the part that ran; acts that never began are left out.
LC_ALL=C tr -d '\033' <"$out" | LC_ALL=C awk -v acts="$acts" '
  BEGIN {
    n = split(acts, line, "\n")
    for (a = 1; a <= n; ++a) {
      split(line[a], word, " ")
      from[a] = word[1] + 0
      to[a] = word[2] + 0
      name[a] = substr(line[a], length(word[1] word[2]) + 3)
    }
    acts = n
  }
  /^Time: / {
    t = substr($0, 7) + 0
    sub(/\[F$/, "", t)
    for (a = 1; a <= acts; ++a) {
      if (t >= from[a] && (t < to[a] || (a == acts && t <= to[a]))) { ++frames[a]; break }
    }
    ++total
    if (t > last) last = t
  }
  END {
    printf "%-24s %10s %10s %10s\n", "act", "seconds", "frames", "fps"
    for (a = 1; a <= acts; ++a) {
      if (from[a] >= last) break
      end = to[a] < last ? to[a] : last
      printf "%-24s %4g-%-5g %10d %10.1f\n", name[a], from[a], end, frames[a], frames[a] / (end - from[a])
    }
    printf "%-24s %4g-%-5g %10d %10.1f\n", "whole run", 0, last, total, total / last
  }'
