#!/usr/bin/env bash
# release/pack-release.sh zip|video: what `make release-zip` and `make release` run.
#   zip    builds (or reuses) the Windows zip, the Linux folder and the one-file browser page,
#          writes the info file and the screenshot, and packs build/dist/vexal25-herald.zip
#   video  makes (or reuses) the whole demo as a video and copies it to
#          build/dist/vexal25-herald.mp4, beside the zip and never inside it
#
# The zip holds one folder, vexal25-herald/:
#   vexal25-herald.nfo        the info file, from release/vexal25-herald.nfo.in and the texts
#   vexal25-herald.png        the screenshot, 640 x 400
#   windows/                  what the Windows zip holds
#   linux/                    the Linux folder (build/linux/vexal25-herald-linux-x86_64)
#   web/vexal25-herald.html   the browser version in one file
#   LICENSE.txt, licenses/    the demo's licence and every third-party notice
#
# Each step's output goes to build/logs/release/STEP.log; the terminal gets a line per step. A
# step that fails ends the script with status 1 and one line naming the step and why. Results
# are written under temporary names and renamed when complete, so a failure leaves no partial
# archive or video, and an older one stays as it was.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1

make_program=${MAKE:-make}
jobs=${JOBS:-$(nproc)}
logs=build/logs/release
dist=build/dist
# The native tools of the info file and the screenshot: a Release tree of their own unless
# TOOLS_TREE names another that builds them, such as make test's plain tree.
tools_tree=${TOOLS_TREE:-build/release}
windows_zip=build/windows/vexal25-herald-windows-x86_64.zip
linux_folder=build/linux/vexal25-herald-linux-x86_64
web_file=build/web-file/vexal25-herald.html
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

# require STEP PATH: a step that ended well must have made its result.
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

# Text files for Windows and DOS viewers alike: CR LF line ends.
crlf() { sed -e 's/\r$//' -e 's/$/\r/' "$1" >"$2"; }

screenshot() {
  "$tools_tree/tools/screenshot" write "$work/screenshot.bmp" &&
    convert "$work/screenshot.bmp" -strip -define png:exclude-chunks=date,time "png:$1"
}

assemble() {
  local stage=$work/stage/vexal25-herald
  mkdir -p "$stage/windows" "$stage/linux" "$stage/web" &&
    mv "$work/vexal25-herald.nfo" "$work/vexal25-herald.png" "$stage/" &&
    (cd "$stage/windows" && cmake -E tar xf "$OLDPWD/$windows_zip") &&
    cp -a "$linux_folder/." "$stage/linux/" &&
    cp "$web_file" "$stage/web/vexal25-herald.html" &&
    # The licence and notices at the top cover every piece: the Windows zip's (the demo's own,
    # the typeface's, SDL2's, the MinGW-w64 runtime's) and the runtime Emscripten compiles into
    # the browser version.
    cp -a "$stage/windows/LICENSE.txt" "$stage/windows/licenses" "$stage/" &&
    crlf /usr/share/doc/emscripten/copyright "$stage/licenses/Emscripten.txt" &&
    (cd "$work/stage" && cmake -E tar cf ../vexal25-herald.zip --format=zip -- vexal25-herald)
}

case ${1:-} in
  zip)
    step windows "$make_program" --no-print-directory windows
    require windows "$windows_zip"
    step linux "$make_program" --no-print-directory linux
    require linux "$linux_folder/vexal25-herald"
    step web-file "$make_program" --no-print-directory web-file
    require web-file "$web_file"
    step tools "$make_program" --no-print-directory release-tools TOOLS_TREE="$tools_tree"
    step info-file "$tools_tree/tools/invitation/invitation_facts" nfo release/vexal25-herald.nfo.in \
      "$work/vexal25-herald.nfo"
    step screenshot screenshot "$work/vexal25-herald.png"
    step assemble assemble
    publish assemble vexal25-herald.zip
    ;;
  video)
    # make video renders the whole demo every time; a video newer than the capture program that
    # made it is still what it would render (the program's whole picture and song are built
    # into the capture), so it is reused. make video builds the capture in build/release.
    step capture-tool cmake --build build/release -j "$jobs" --target capture
    if [ ! build/video/vexal25-herald.mp4 -nt build/release/tools/capture ]; then
      step video "$make_program" --no-print-directory video
    else
      echo "release: video reused (build/video/vexal25-herald.mp4 is newer than the capture tool)"
    fi
    require video build/video/vexal25-herald.mp4
    step copy-video cp build/video/vexal25-herald.mp4 "$work/vexal25-herald.mp4"
    publish copy-video vexal25-herald.mp4
    ;;
  *)
    echo "usage: release/pack-release.sh zip|video" >&2
    exit 2
    ;;
esac
