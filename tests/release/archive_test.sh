#!/usr/bin/env bash
# archive_test.sh NATIVE_BUILD: checks the release archive as `make release-zip` wrote it
# (DIST/vexal25-herald.zip), with the check tools of the native test build, in the environment
# the packer has (the pieces it assembles, which make check-release names):
#   - the layout docs/channels.md lists: one folder vexal25-herald/ holding the info file, the
#     screenshot, windows/ (exactly what the Windows zip holds), linux/ (both programs runnable
#     as unpacked, SDL2 beside them, the read-me), web/vexal25-herald.html, the licence and the
#     notices, and nothing else;
#   - the info file agrees with the program's texts (ASCII, 80 columns, CR LF, every fact);
#   - the screenshot is 640 x 400 and exactly the offline frame it stands for;
#   - a failed step ends the packing with one line naming it and leaves the archive as it was.
# One line per failed check; status 1 if any failed.
set -uo pipefail
native=$(realpath "${1:?usage: archive_test.sh NATIVE_BUILD}")
zip=$(realpath -m "${DIST:?make check-release names the folder of the archive}/vexal25-herald.zip")
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/herald-archive.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }
# names FOLDER: the names in the folder, sorted, on one line.
names() { find "$1" -mindepth 1 -maxdepth 1 -printf '%f\n' | LC_ALL=C sort | xargs; }

# --- the layout, unpacked by the unzip a visitor uses
[ -f "$zip" ] || { echo "FAIL: expected the archive $zip, saw none (make release-zip writes it)"; exit 1; }
unzip -q "$zip" -d "$work/unpacked" || { echo "FAIL: unzip could not unpack $zip"; exit 1; }
top=$(ls -A "$work/unpacked")
[ "$top" = vexal25-herald ] || fail "expected one folder vexal25-herald at the top of the zip, saw: $top"
folder=$work/unpacked/vexal25-herald

expected_top="LICENSE.txt licenses linux vexal25-herald.nfo vexal25-herald.png web windows"
seen_top=$(names "$folder")
if [ "$seen_top" = "$expected_top" ]; then
  pass "top of the folder: $seen_top"
else
  fail "expected the folder to hold $expected_top, saw $seen_top"
fi
for notice in font-LICENSE-DejaVu.txt SDL2.txt MinGW-w64-runtime.txt Emscripten.txt; do
  [ -s "$folder/licenses/$notice" ] || fail "expected the notice licenses/$notice, saw none"
done
grep -q 'MIT License' "$folder/LICENSE.txt" || fail "expected the demo's MIT licence in LICENSE.txt"

# windows/ is what the Windows zip holds, file for file and byte for byte.
windows_zip=$(realpath "${WINDOWS_ZIP:?make check-release names the Windows zip}")
mkdir -p "$work/windows-zip"
if unzip -q "$windows_zip" -d "$work/windows-zip"; then
  if diff -r "$work/windows-zip" "$folder/windows" >"$work/windows.diff"; then
    pass "windows/ holds exactly the Windows zip: $(names "$folder/windows")"
  else
    fail "expected windows/ to hold exactly the Windows zip: $(head -n 3 "$work/windows.diff" | xargs)"
  fi
else
  fail "could not unpack the Windows zip $windows_zip"
fi
# The programs as the build lists them, "PROGRAM VARIANT" a line.
mapfile -t programs < <(cut -d' ' -f1 "$native/programs.txt")
for name in "${programs[@]/%/.exe}" README.txt; do
  [ -f "$folder/windows/$name" ] || fail "expected windows/$name, saw none"
done

# linux/: the programs keep their execute permission through the zip.
for program in "${programs[@]}"; do
  if [ ! -f "$folder/linux/$program" ] || [ ! -x "$folder/linux/$program" ]; then
    fail "expected linux/$program, executable as unpacked, saw $(ls -l "$folder/linux/$program" 2>&1)"
  fi
done
for name in libSDL2-2.0.so.0 README.txt; do
  [ -s "$folder/linux/$name" ] || fail "expected linux/$name, saw none"
done
linux_folder=$(realpath "${LINUX_FOLDER:?make check-release names the Linux folder}")
if diff -r "$linux_folder" "$folder/linux" >"$work/linux.diff"; then
  pass "linux/ holds exactly $linux_folder"
else
  fail "expected linux/ to hold exactly $linux_folder: $(head -n 3 "$work/linux.diff" | xargs)"
fi

[ "$(names "$folder/web")" = vexal25-herald.html ] || fail "expected web/ to hold vexal25-herald.html alone"
if cmp -s "${WEB_FILE:?make check-release names the one-file page}" "$folder/web/vexal25-herald.html"; then
  pass "web/vexal25-herald.html is the one-file page"
else
  fail "expected web/vexal25-herald.html to be $WEB_FILE"
fi

# --- the info file
if "$native/bin/check_invitation_texts" nfo "$folder/vexal25-herald.nfo" >"$work/nfo.txt" 2>&1; then
  pass "$(tail -n 1 "$work/nfo.txt")"
else
  fail "the info file: $(xargs <"$work/nfo.txt")"
fi

# --- the party's facts on the browser page and the visitors' read-mes, checked as the info
# file's are
if "$native/bin/check_invitation_texts" page "$folder/web/vexal25-herald.html" >"$work/facts.txt" 2>&1; then
  pass "$(tail -n 1 "$work/facts.txt")"
else
  fail "the browser page's facts: $(tr -d "'\"" <"$work/facts.txt" | xargs)"
fi
for readme in windows/README.txt linux/README.txt; do
  if "$native/bin/check_invitation_texts" readme "$folder/$readme" >"$work/readme.txt" 2>&1; then
    pass "$(tail -n 1 "$work/readme.txt")"
  else
    fail "$readme: $(tr -d "'\"" <"$work/readme.txt" | xargs)"
  fi
done

# --- the screenshot, back to BMP without loss
size=$(identify -format '%wx%h' "$folder/vexal25-herald.png" 2>&1)
[ "$size" = 640x400 ] || fail "expected the screenshot to be 640x400, saw $size"
if convert "$folder/vexal25-herald.png" "bmp3:$work/screenshot.bmp"; then
  if "$native/bin/screenshot" check "$work/screenshot.bmp" >"$work/shot.txt" 2>&1; then
    pass "screenshot: $(tail -n 1 "$work/shot.txt")"
  else
    fail "screenshot: $(tail -n 1 "$work/shot.txt")"
  fi
else
  fail "ImageMagick could not read the screenshot"
fi

# --- a failed step: one line naming it, the archive untouched, no temporary file left
before=$(sha256sum "$zip")
# failed_step LABEL NAME WHY [VAR=VALUE...]: packs with the variables set; the packing must end
# non-zero with one line naming the step NAME and saying WHY.
failed_step() {
  local label=$1 name=$2 why=$3 status
  shift 3
  env "$@" "$root/release/pack-release.sh" zip >"$work/$name.out" 2>"$work/$name.err"
  status=$?
  if [ "$status" -ne 0 ] && [ "$(wc -l <"$work/$name.err")" -eq 1 ] &&
    grep -q "^make release: step $name failed$why" "$work/$name.err"; then
    pass "a failed $label step: $(cat "$work/$name.err")"
  else
    fail "expected status non-zero and one line naming the $name step, saw $status and: $(xargs <"$work/$name.err")"
  fi
}
# Both take their tools from the native test build, as make test's packing did, and the pieces
# from the environment make check-release gives.
# An early step: the Windows zip that make windows did not make.
failed_step Windows windows '' "WINDOWS_ZIP=$work/no-such.zip" "TOOLS_TREE=$native"
# A late step, with the pieces taken as built and the info file already written: the screenshot,
# whose picture conversion fails.
mkdir -p "$work/bin"
printf '#!/bin/sh\necho "convert: no space left on device" >&2\nexit 1\n' >"$work/bin/convert"
chmod +x "$work/bin/convert"
failed_step screenshot screenshot ': convert: no space left on device' "PATH=$work/bin:$PATH" "TOOLS_TREE=$native"
if [ "$(sha256sum "$zip")" = "$before" ]; then
  pass "the archive stayed as it was"
else
  fail "expected the failed runs to leave the archive as it was, saw it changed"
fi
leftovers=$(find "$(dirname "$zip")" -mindepth 1 -maxdepth 1 ! -name vexal25-herald.zip ! -name vexal25-herald.mp4 -printf '%f ')
[ -z "$leftovers" ] || fail "expected no temporary files beside the archive, saw: $leftovers"

if [ "$failures" -ne 0 ]; then
  echo "archive: $failures checks FAILED"
  exit 1
fi
echo "archive: all checks passed"
