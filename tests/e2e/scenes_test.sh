#!/usr/bin/env bash
# scenes_test.sh early|late BINARY SHEET OTHER_SHEET COMPARE: screenshots of the real window
# early in each act must agree with the frames that SHEET (the timeline sheet tool of the same
# presentation variant) renders offline at the times the program drew around the screenshot,
# and must clearly differ from a frame of another act, from the same frame in the mirrored
# colour phase and, once the window has been resized, from the other variant's layout.
#
# early: the logo alone, the wave being revealed and logo + wave + marquee at 640 x 400; after a
#        resize to 800 x 600 the marquee and the scroller; after shrinking back to 640 x 400
#        the scroller again (about 50 s).
# late:  the greetings at 640 x 400, then at 800 x 600, and the closing logo at 800 x 600
#        (about 95 s).
#
# The moments sit just before the colour phase reaches an end of its swing (t a multiple of
# 4.25), so the mirrored phase is far from the true one; each wrong-act frame shares the shot's
# phase, so only the act tells them apart. On a busy machine a shot can come late; when the
# phase has then swung near its middle, where mirroring hardly changes a colour, the mirrored
# comparison is reported but not required to differ. Set SCENES_SHOTS_DIR to keep the
# screenshots and the matching offline frames as PNG files.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
span=$1 binary=$2 sheet=$3 other_sheet=$4 compare=$5
work=$(mktemp -d)
out=$work/console.txt
program_pid=
trap '[ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null; rm -rf "$work"' EXIT

# A shot agrees when its closest offline frame is within match_limit; it differs clearly from
# a reference when the distance is at least differ_limit and at least differ_ratio times the
# closest match. Jitter alone stays near or below 1 (0 to 255 scale); a missing line of text,
# a missing logo or the other presentation's layout gives 6.5 or more.
match_limit=2
differ_limit=4
differ_ratio=3

# The times of the complete console lines in the bytes [FROM, TO) of the console output.
console_times() {
  local from=$1 to=$2
  LC_ALL=C tail -c +"$((from + 1))" "$out" | LC_ALL=C head -c "$((to - from))" |
    LC_ALL=C grep -ao $'Time: [0-9.]*\x1b\\[F' | LC_ALL=C sed -e 's/^Time: //' -e $'s/\x1b\\[F$//'
}

# resize WIDTH HEIGHT: resizes the window and waits until the X server reports the new size.
resize() {
  xdotool windowsize "$window" "$1" "$2"
  for _ in $(seq 100); do
    [ "$(window_size "$window")" = "$1x$2" ] && { sleep 0.5; return; }
    sleep 0.1
  done
  e2e_fail "the window did not take the size $1x$2 (it is $(window_size "$window"))"
}

# at_least A B...: true when A is at least every B.
at_least() {
  local a=$1
  shift
  for b in "$@"; do awk -v a="$a" -v b="$b" 'BEGIN { exit !(a >= b) }' || return 1; done
}

# shoot NAME T WRONG_T: takes a screenshot once the program has reached T and notes the window's
# size and the times of the frames that may be on it; judge compares them after the run, so
# that the offline rendering does not delay the next shot. WRONG_T is a moment of another act.
shoot() {
  local name=$1 target=$2 wrong_t=$3 before after size times third_last from
  wait_until "$out" "$target"
  size=$(window_size "$window")
  before=$(stat -c %s "$out")
  import -window "$window" "bmp3:$work/$name.bmp" || e2e_fail "$name: no screenshot"
  after=$(stat -c %s "$out")
  [ "$(window_size "$window")" = "$size" ] || e2e_fail "$name: the window changed size during the shot"
  # The frame on screen was drawn at or before the last line written after the shot, and not
  # long before the shot began: a presented picture can wait in the X connection's buffer for
  # a few frames, so the candidates reach back three lines and at least 50 ms before the last
  # line written before the shot. Frames a millisecond apart look alike, so at most 24 of them,
  # spread evenly, are rendered.
  from=$((before > 4096 ? before - 4096 : 0))
  third_last=$(console_times "$((before > 64 ? before - 64 : 0))" "$before" | tail -n 3 | head -n 1)
  [ -n "$third_last" ] || e2e_fail "$name: no console line before the shot"
  times=$(console_times "$from" "$after" | awk -v b="$third_last" '$1 >= b - 0.05' |
    awk '{ t[NR] = $0 } END { n = NR < 24 ? NR : 24; for (k = 0; k < n; ++k) print t[1 + int(k * (NR - 1) / (n > 1 ? n - 1 : 1))] }' | sort -u -n)
  [ -n "$times" ] || e2e_fail "$name: no console line around the shot"
  # shellcheck disable=SC2086 # one line: the times joined by spaces
  echo "$name $size $wrong_t" $times >>"$work/shots"
}

# judge NAME SIZE WRONG_T TIMES...: renders the candidate frames offline at the window's size
# and compares the screenshot with them and with the frames that must differ.
judge() {
  local name=$1 size=$2 wrong_t=$3
  shift 3
  local times="$*" w=${size%x*} h=${size#*x}
  mkdir -p "$work/$name.ref" "$work/$name.wrong" "$work/$name.layout"
  # shellcheck disable=SC2086
  "$sheet" "$w" "$h" "$work/$name.ref" $times >/dev/null || e2e_fail "$name: offline rendering failed"
  "$sheet" "$w" "$h" "$work/$name.wrong" "$wrong_t" >/dev/null || e2e_fail "$name: offline rendering failed"
  # The phase v runs 0 -> 255 -> 0 every 8.5 s; mirroring moves the text colour by
  # 2 |v - 127.5| in red and in blue.
  local phase_margin
  phase_margin=$(echo "$times" | tr ' ' '\n' | awk '{ q = (60 * $1) % 510; v = q <= 255 ? q : 510 - q
    d = v - 127.5; d = d < 0 ? -d : d; if (NR == 1 || d < m) m = d } END { print m }')
  local verdict match swapped best wrong layout=
  verdict=$("$compare" "$work/$name.bmp" "$work/$name.ref"/*.bmp) || e2e_fail "$name: comparison failed"
  read -r _ match _ swapped _ best <<<"$verdict"
  wrong=$("$compare" "$work/$name.bmp" "$work/$name.wrong"/*.bmp | awk '{ print $2 }')
  if [ "$size" != 640x400 ]; then
    # shellcheck disable=SC2086
    "$other_sheet" "$w" "$h" "$work/$name.layout" $times >/dev/null || e2e_fail "$name: offline rendering failed"
    layout=$("$compare" "$work/$name.bmp" "$work/$name.layout"/*.bmp | awk '{ print $2 }')
  fi
  echo "$name at ${size}, $# frames in t $1..${!#}:" \
    "match $match, mirrored phase $swapped, act at t=$wrong_t $wrong${layout:+, other layout $layout}"
  if [ -n "${SCENES_SHOTS_DIR:-}" ]; then
    mkdir -p "$SCENES_SHOTS_DIR"
    local prefix
    prefix="$SCENES_SHOTS_DIR/$(basename "$binary")_$name"
    convert "$work/$name.bmp" "${prefix}_shot.png"
    convert "$best" "${prefix}_offline.png"
  fi
  at_least "$match_limit" "$match" || e2e_fail "$name: expected the offline frame in the window (distance at most $match_limit), saw distance $match"
  local limit
  limit=$(awk -v m="$match" -v r="$differ_ratio" -v d="$differ_limit" 'BEGIN { print (m * r > d ? m * r : d) }')
  if at_least "$phase_margin" 80; then
    at_least "$swapped" "$limit" || e2e_fail "$name: expected the mirrored colour phase to differ (distance at least $limit), saw $swapped"
  else
    echo "$name: the colour phase is near its middle; the mirrored comparison is not required"
  fi
  at_least "$wrong" "$limit" || e2e_fail "$name: expected a frame of another act (t=$wrong_t) to differ (distance at least $limit), saw $wrong"
  [ -z "$layout" ] || at_least "$layout" "$limit" ||
    e2e_fail "$name: expected the other presentation's layout to differ (distance at least $limit), saw $layout"
}

start_program "$binary" "$out"
window=$(wait_for_window "$out") ||
  e2e_fail "no window (program $(kill -0 "$program_pid" 2>/dev/null && echo running || echo ended), $(stat -c %s "$out") bytes of console lines)"
[ "$(window_size "$window")" = 640x400 ] || e2e_fail "expected the window to open at 640x400, saw $(window_size "$window")"

case $span in
  early)
    shoot logo 4.15 38.25                 # logo alone, bouncing; orange
    shoot wave_reveal 16.9 25.5           # the wave uncovered on the right half; blue
    shoot marquee 21.15 46.75             # logo, full wave and marquee; orange
    resize 800 600
    shoot marquee_800x600 25.4 42.5       # the wave fills the window, the marquee at its foot; blue
    shoot scroller_800x600 38.15 4.25     # headline typed, block entering the wider window; orange
    resize 640 400
    shoot scroller_shrunk 46.65 72.25     # back to the design size; orange
    ;;
  late)
    shoot greetings 67.9 42.5             # header typed, first row entering; blue
    resize 800 600
    shoot greetings_800x600 72.15 46.75   # bottom lines near the window's foot; orange
    shoot closing_logo_800x600 93.4 76.5  # the logo alone again, bouncing in the wider window; blue
    ;;
  *) e2e_fail "unknown span $span" ;;
esac

send_escape "$window"
wait_for_exit 15
[ "$exit_status" = 0 ] || e2e_fail "expected exit status 0 after Escape, saw $exit_status"
program_pid=

while read -r -u 3 shot; do
  # shellcheck disable=SC2086
  judge $shot
done 3<"$work/shots"
