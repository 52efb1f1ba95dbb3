#!/usr/bin/env bash
# release/pack-release.sh zip|video: assembles what `make release-zip` and `make release` have
# built (the Makefile names each piece in the environment: WINDOWS_ZIP, LINUX_FOLDER, WEB_FILE,
# VIDEO, DIST, and TOOLS_TREE, the native build of the info file's and the screenshot's tools).
#   zip    writes the info file and the screenshot and packs DIST/vexal25-herald.zip
#   video  copies the video to DIST/vexal25-herald.mp4, beside the zip and never inside it
#
# The zip holds one folder, vexal25-herald/:
#   vexal25-herald.nfo        the info file, from release/vexal25-herald.nfo.in and the texts
#   vexal25-herald.png        the screenshot, 640 x 400
#   windows/                  what the Windows zip holds
#   linux/                    the Linux folder
#   web/vexal25-herald.html   the browser version in one file
#   LICENSE.txt, licenses/    the demo's licence and every third-party notice
#
# Each step's output goes to build/logs/release/STEP.log; the terminal gets a line per step. A
# step that fails ends the script with status 1 and one line naming the step and why. Results
# are written under temporary names and renamed when complete, so a failure leaves no partial
# archive or video, and an older one stays as it was.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1

for piece in WINDOWS_ZIP LINUX_FOLDER WEB_FILE VIDEO DIST TOOLS_TREE; do
  [ -n "${!piece:-}" ] || { echo "pack-release.sh: $piece is not set; make release-zip and make release set it" >&2; exit 2; }
done
logs=build/logs/release
dist=$DIST
tools_tree=$TOOLS_TREE
windows_zip=$(realpath -m "$WINDOWS_ZIP")
mkdir -p "$logs" "$dist"

# What the failure leaves behind is removed on any exit; the results are renamed into place
# only at the very end.
work=$(mktemp -d "$dist/.pack.XXXXXX") || {
  echo "make release: step prepare failed: cannot make a temporary folder in $dist" >&2
  exit 1
}
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# step NAME COMMAND...: runs the command with its output in the step's log.
step() {
  local name=$1 began=$SECONDS log="$logs/$1.log"
  shift
  printf 'release: %s ...\n' "$name"
  if ! "$@" >"$log" 2>&1; then
    # The last line that says something, not make's own summary of the failure.
    local why
    why=$(grep -v -e '^make\(\[[0-9]*\]\)\?: \*\*\*' -e '^gmake\(\[[0-9]*\]\)\?: \*\*\*' -e '^[[:space:]]*$' "$log" |
      tail -n 1 | cut -c 1-200)
    echo "make release: step $name failed: ${why:-no output} (log: $log)" >&2
    exit 1
  fi
  printf 'release: %s done in %d s\n' "$name" $((SECONDS - began))
}

# require STEP PATH: the result of a step (of the packing, or a make target it needs) must be there.
require() {
  if [ ! -e "$2" ]; then
    echo "make release: step $1 failed: it did not make $2" >&2
    exit 1
  fi
}

# publish STEP NAME: renames the finished NAME from the temporary folder into build/dist.
publish() {
  mv -f "$work/$2" "$dist/$2" || {
    echo "make release: step $1 failed: cannot rename $2 into $dist" >&2
    exit 1
  }
  echo "release: $dist/$2, $(stat -c %s "$dist/$2") bytes"
}

screenshot() {
  "$tools_tree/bin/screenshot" write "$work/screenshot.bmp" &&
    convert "$work/screenshot.bmp" -strip -define png:exclude-chunks=date,time "png:$1"
}

assemble() {
  local stage=$work/stage/vexal25-herald
  mkdir -p "$stage/windows" "$stage/linux" "$stage/web" &&
    mv "$work/vexal25-herald.nfo" "$work/vexal25-herald.png" "$stage/" &&
    (cd "$stage/windows" && cmake -E tar xf "$windows_zip") &&
    cp -a "$LINUX_FOLDER/." "$stage/linux/" &&
    cp "$WEB_FILE" "$stage/web/vexal25-herald.html" &&
    # The licence and notices at the top cover every piece: the Windows zip's (the demo's own,
    # the typeface's, SDL2's, the MinGW-w64 runtime's) and the runtime Emscripten compiles into
    # the browser version.
    cp -a "$stage/windows/LICENSE.txt" "$stage/windows/licenses" "$stage/" &&
    cmake -DSTAGE="$stage" -DWINDOWS_TEXT=ON -DLIBRARIES=Emscripten=/usr/share/doc/emscripten/copyright \
      -P release/place_notices.cmake &&
    (cd "$work/stage" && cmake -E tar cf ../vexal25-herald.zip --format=zip -- vexal25-herald)
}

case ${1:-} in
  zip)
    # The pieces make built: a piece that is not there names the step that makes it.
    require windows "$WINDOWS_ZIP"
    require linux "$LINUX_FOLDER/vexal25-herald"
    require web-file "$WEB_FILE"
    step info-file "$tools_tree/bin/invitation_facts" nfo release/vexal25-herald.nfo.in "$work/vexal25-herald.nfo"
    step screenshot screenshot "$work/vexal25-herald.png"
    step assemble assemble
    publish assemble vexal25-herald.zip
    ;;
  video)
    require video "$VIDEO"
    step copy-video cp "$VIDEO" "$work/vexal25-herald.mp4"
    publish copy-video vexal25-herald.mp4
    ;;
  *)
    echo "usage: release/pack-release.sh zip|video" >&2
    exit 2
    ;;
esac
