#!/usr/bin/env bash
# readme_tools_test.sh TOOL ARGS...: runs a tool docs/testing.md names, as a person would, and
# checks what it made. Each tool runs at least once in the test command, so none can break
# unnoticed.
#   export_wav EXPORT_WAV AUDIO_DISK_CHECK      the WAV file is the whole song, sample for sample
#   timeline_sheet SCRIPT BUILD_DIR             two moments give four one-row contact sheets
#   measure_fps SCRIPT PROGRAM                  a run to t = 13 gives the first two acts' rates
set -uo pipefail
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tool=$1
shift
case $tool in
  export_wav)
    "$1" "$work/song.wav" || fail "export_wav ended with status $?"
    "$2" "$work/song.wav" whole || fail "the WAV file is not the song the program plays"
    ;;
  timeline_sheet)
    "$1" "$2" "$work" 0.001 20 || fail "timeline_sheet.sh ended with status $?"
    for set in logical_640x400 logical_1280x720 drawable_640x400 drawable_1280x720; do
      sheet=$work/sheet_$set.png
      geometry=$(identify -format '%m %w %h' "$sheet" 2>/dev/null) || fail "no readable sheet $sheet"
      read -r format sheet_width sheet_height <<<"$geometry"
      size=${set#*_}
      width=${size%x*} height=${size#*x}
      # One row of four tiles, each a frame with a 4-pixel border all round and its label below.
      [ "$format" = PNG ] && [ "$sheet_width" = $((4 * (width + 8))) ] && [ "$sheet_height" -gt $((height + 8)) ] &&
        [ "$sheet_height" -lt $((2 * (height + 8))) ] ||
        fail "expected $set as one PNG row $((4 * (width + 8))) pixels wide, saw '$geometry'"
    done
    ;;
  measure_fps)
    report=$("$1" --until 13 "$2") || fail "measure_fps.sh ended with status $?: $report"
    echo "$report"
    for act in "logo " "logo + wave "; do
      frames=$(awk -v act="$act" 'index($0, act) == 1 { print $(NF - 1) }' <<<"$report" | head -n 1)
      [ "${frames:-0}" -gt 0 ] || fail "expected frames counted in the act '$act', saw '${frames:-none}'"
    done
    grep -q '^scroller' <<<"$report" && fail "expected no act after t = 13 in the report"
    ;;
  *) fail "unknown tool $tool" ;;
esac
echo "$tool: ok"
