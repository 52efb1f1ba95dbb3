#!/usr/bin/env bash
# scenes_test.sh BINARY logical|drawable MOMENTS JUDGE: screenshots of the real window early in
# each act, at the moments and window sizes MOMENTS (timeline_moments) names, each judged by JUDGE
# (scenes_judge) against the frames of the program's presentation rendered offline at the times
# the program drew before the screenshot. One run of about 95 s: the logo alone, the wave being
# revealed and logo + wave + marquee at 640 x 400; after a resize to 800 x 600 the marquee and
# the scroller; after shrinking back to 640 x 400 the scroller and the greetings; at 800 x 600
# again the greetings and the closing logo.
#
# Set SCENES_SHOTS_DIR to keep the screenshots and the matching offline frames as PNG files.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
binary=$1 presentation=$2 moments=$3 judge=$4
work=$(mktemp -d)
out=$work/console.txt
program_pid=
# A program held still by a shot takes its signal once it goes on.
trap '[ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null && kill -CONT "$program_pid" 2>/dev/null; rm -rf "$work"' EXIT

shots=$("$moments" shots) || e2e_fail "no moments from $moments"

# The times of the complete console lines in the bytes [FROM, TO) of the console output.
console_times() {
  local from=$1 to=$2
  LC_ALL=C tail -c +"$((from + 1))" "$out" | LC_ALL=C head -c "$((to - from))" |
    LC_ALL=C grep -ao $'Time: [0-9.]*\x1b\\[F' | LC_ALL=C sed -e 's/^Time: //' -e $'s/\x1b\\[F$//'
}

# resize WIDTHxHEIGHT: resizes the window and waits until the X server reports the new size.
resize() {
  xdotool windowsize "$window" "${1%x*}" "${1#*x}"
  for _ in $(seq 100); do
    [ "$(window_size "$window")" = "$1" ] && { sleep 0.5; return; }
    sleep 0.1
  done
  e2e_fail "the window did not take the size $1 (it is $(window_size "$window"))"
}

# shoot NAME T OTHER_T: once the program has reached T, holds it still and takes the screenshot
# when the window's picture has settled, noting the times of the console lines written before it;
# the judge compares them after the run, so that the offline rendering does not delay the next
# shot.
# A program hands its frames to the X server, which puts them in the window when it gets to them.
# SDL2 on X11 waits for that after each frame, but Wine does not, and an X server starved by a
# busy machine was seen to show, in the first shot after the resize to 800 x 600 (where the
# drawable program's frames are largest and slowest), the frame of the fourth console line
# before the shot: older than every frame the judge takes for a candidate. Held still (SIGSTOP),
# the program hands over nothing more; once two screenshots in a row are alike, the server has
# put in the window what the program handed it, which is one of the last frames the program
# presented: those of the last console lines.
shoot() {
  local name=$1 target=$2 other_t=$3 before after size settled=
  local shot=$work/$name.bmp previous=$work/$name.previous.bmp
  wait_until "$out" "$target"
  size=$(window_size "$window")
  kill -STOP "$program_pid" || e2e_fail "$name: could not hold the program still"
  before=$(stat -c %s "$out")
  for _ in $(seq 10); do
    if ! import -window "$window" "bmp3:$shot"; then
      kill -CONT "$program_pid"
      e2e_fail "$name: no screenshot"
    fi
    [ -f "$previous" ] && cmp -s "$shot" "$previous" && { settled=1; break; }
    mv -f "$shot" "$previous"
  done
  rm -f "$previous"
  after=$(stat -c %s "$out")
  kill -CONT "$program_pid"
  [ -n "$settled" ] || e2e_fail "$name: the window's picture still changed after 10 screenshots of the program held still"
  [ "$(window_size "$window")" = "$size" ] || e2e_fail "$name: the window changed size during the shot"
  # shellcheck disable=SC2046 # one line: the times joined by spaces
  echo "$name $shot $other_t" $(console_times "$((before > 4096 ? before - 4096 : 0))" "$before") \
    -- $(console_times "$before" "$after") >>"$work/shots"
}

start_program "$binary" "$out"
window=$(wait_for_window "$out") || exit 1
[ "$(window_size "$window")" = 640x400 ] || e2e_fail "expected the window to open at 640x400, saw $(window_size "$window")"

while read -r -u 4 name t other_t size; do
  [ "$(window_size "$window")" = "$size" ] || resize "$size"
  shoot "$name" "$t" "$other_t"
done 4<<<"$shots"

end_with_escape "$window" 15
[ "$exit_status" = 0 ] || e2e_fail "expected exit status 0 after Escape, saw $exit_status"
program_pid=

failed=0
while read -r -u 3 shot; do
  # shellcheck disable=SC2086 # one line: the words of the judge's arguments
  "$judge" ${SCENES_SHOTS_DIR:+--keep "$SCENES_SHOTS_DIR"} "$presentation" $shot || failed=1
done 3<"$work/shots"
# The judge has said what failed, one line a shot.
exit "$failed"
