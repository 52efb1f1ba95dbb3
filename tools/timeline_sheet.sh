#!/usr/bin/env bash
# timeline_sheet.sh BUILD_DIR OUT_DIR: renders the timeline's frames for both programs (the
# logical-size one in a 640 x 400 and a 1280 x 720 window, the drawable-size one at 640 x 400
# and 1280 x 720), converts them to PNG and puts each set on a contact sheet.
set -euo pipefail
build=${1:?build dir}
out=${2:?output dir}
mkdir -p "$out"
tools="$build/tools"
"$tools/timeline_sheet_logical" 640 400 "$out" >/dev/null
"$tools/timeline_sheet_logical" 1280 720 "$out" >/dev/null
"$tools/timeline_sheet_drawable" 640 400 "$out" >/dev/null
"$tools/timeline_sheet_drawable" 1280 720 "$out" >/dev/null
for bmp in "$out"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png"
  rm -f "$bmp"
done
for set in logical_640x400 logical_1280x720 drawable_640x400 drawable_1280x720; do
  montage -label '%t' "$out"/"${set}"_t*.png -tile 4x -geometry +4+4 -background '#404040' \
    "$out/sheet_${set}.png"
done
ls "$out"/sheet_*.png
