#!/usr/bin/env bash
# timeline_sheet.sh BUILD_DIR OUT_DIR [T...]: renders the timeline's frames for both programs (the
# logical-size one and the drawable-size one, each at 640 x 400 and at 1280 x 720), converts them
# to PNG and puts each set on a contact sheet labelled with the frames' times. Without T, a
# dozen moments across the timeline; with T, just those (a quick look, or a short test run).
set -euo pipefail
build=${1:?usage: timeline_sheet.sh BUILD_DIR OUT_DIR [T...]}
out=${2:?usage: timeline_sheet.sh BUILD_DIR OUT_DIR [T...]}
shift 2
# The labels need a font that ImageMagick can read without Ghostscript's; the test dependencies
# install DejaVu.
font=${SHEET_FONT:-/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf}
[ -r "$font" ] || { echo "timeline_sheet.sh: no label font at $font (set SHEET_FONT)" >&2; exit 2; }
mkdir -p "$out"
tools="$build/bin"
for variant in logical drawable; do
  for size in "640 400" "1280 720"; do
    # shellcheck disable=SC2086 # the size is two arguments
    "$tools/timeline_sheet_$variant" $size "$out" "$@" >/dev/null
  done
done
for bmp in "$out"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png"
  rm -f "$bmp"
done
for set in logical_640x400 logical_1280x720 drawable_640x400 drawable_1280x720; do
  montage -font "$font" -label '%t' "$out"/"${set}"_t*.png -tile 4x -geometry +4+4 -background '#404040' \
    "$out/sheet_${set}.png"
done
ls "$out"/sheet_*.png
