#!/usr/bin/env bash
# install-deps.sh GROUP...: installs from Debian's archive whatever the named groups still lack.
# Packages already present are left alone, so a prepared machine does no apt work.
#   run    building and running the programs
#   test   building and running the native tests (with run and capture)
#   style  the style checks: clang-format 14 and clang-tidy 22 (Debian 12's security archive
#          carries LLVM 22 for its browsers)
#   sdl2-source  what scripts/build-sdl2.sh needs to unpack Debian's SDL2 source
#   linux  building the portable Linux folder, SDL2 included
#   linux-test  testing that folder in a Debian system of its own
#   windows  cross-building the Windows programs and running them under Wine
#   web    building both programs for the browser with Emscripten and testing them in Chromium
#   capture  building the capture (src/capture): FFmpeg's libraries (with run)
#   release  packing the release archive: its tools (with run), the screenshot's conversion to
#            PNG and unzip for its check
set -euo pipefail

packages_of() {
  case "$1" in
    run) echo g++ make cmake ninja-build pkg-config libsdl2-dev ;;
    # The capture tool is a native tool with tests of its own, so the native tests need its group,
    # and libswscale, with which those tests check the capture's own colour conversion.
    test)
      echo "$(packages_of run) $(packages_of capture)" libswscale-dev googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool x11-utils \
        imagemagick libfreetype-dev fonts-dejavu-core bc clang-14 libclang-rt-14-dev openmpt123
      ;;
    style) echo clang-format-14 clang-tidy-22 ;;
    # dpkg-source, to unpack Debian's SDL2 source package, and Ninja, which builds it.
    sdl2-source) echo dpkg-dev ninja-build ;;
    # MinGW-w64 for 64-bit Windows in its POSIX-threads variant (clock_gettime and nanosleep come
    # with its winpthreads), Wine 8 to run the result, and the source package of SDL2 to build.
    windows) echo "$(packages_of sdl2-source)" g++-mingw-w64-x86-64-posix wine ;;
    # SDL2's video and sound back-ends come with libsdl2-dev's own dependencies, all but PipeWire.
    linux) echo "$(packages_of run) $(packages_of sdl2-source)" libpipewire-0.3-dev ;;
    # debootstrap makes the test system; the programs run in it under Xvfb, driven by xdotool and
    # read by the X11 utilities; binutils reads the folder's symbol versions and libraries.
    linux-test) echo debootstrap xvfb xdotool x11-utils binutils ;;
    # Emscripten and its Node.js modules, Debian's Chromium for the browser tests, and what the
    # tests' native helpers (timeline sheets, song export) and image conversion need. npm comes
    # with some builds of Node.js (which then conflict with Debian's npm package) and on its own
    # with Debian's.
    web)
      echo "$(packages_of run) $(packages_of sdl2-source)" emscripten nodejs chromium imagemagick \
        "$(command -v npm >/dev/null || echo npm)"
      ;;
    # FFmpeg's libraries, which bring x264 and the native AAC, FFV1 and FLAC encoders along.
    capture)
      echo "$(packages_of run)" libavformat-dev libavcodec-dev libavutil-dev
      ;;
    release) echo "$(packages_of run)" imagemagick unzip ;;
    *) echo "install-deps.sh: unknown group '$1'" >&2; return 2 ;;
  esac
}

[ $# -gt 0 ] || set -- run
wanted=()
for group in "$@"; do
  list=$(packages_of "$group") || exit 2
  read -ra group_packages <<<"$list"
  wanted+=("${group_packages[@]}")
done

mapfile -t wanted < <(printf '%s\n' "${wanted[@]}" | sort -u)
# find_missing: the wanted packages that dpkg does not have installed, into missing.
find_missing() {
  missing=()
  local package
  for package in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
}
find_missing
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
# Several installs may be under way at once (make -j, or make test installing the later stages'
# packages while the first stages build): one apt run at a time; the others wait, then install
# only what is still missing.
exec 9>"${TMPDIR:-/tmp}/herald-install-deps.lock"
flock 9
find_missing
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing from Debian: ${missing[*]}"
# Another package manager (a desktop's daily update, an install started by hand) may hold apt's
# and dpkg's locks: wait up to ten minutes for them instead of failing at once. The install waits
# by itself; the update does not, so it is tried again while its only complaint is the lock.
apt=(apt-get -o DPkg::Lock::Timeout=600)
for attempt in $(seq 120); do
  if complaint=$("${sudo[@]}" "${apt[@]}" update -qq 2>&1); then break; fi
  if [ "$attempt" -eq 120 ] || ! grep -q 'Could not get lock' <<<"$complaint"; then
    echo "$complaint" >&2
    exit 1
  fi
  sleep 5
done
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}"
