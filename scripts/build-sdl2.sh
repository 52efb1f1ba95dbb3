#!/usr/bin/env bash
# build-sdl2.sh TOOLCHAIN DIR: builds SDL2 from the source of Debian's own SDL2 package (libsdl2)
# for TOOLCHAIN, installs it under DIR/install and prints that path (its CMake package is in
# lib/cmake/SDL2 below it). TOOLCHAIN is one of
#   emscripten  the browser build (web/sdl2.cmake)
#   mingw       the Windows build, cross-compiled with MinGW-w64 (windows/sdl2.cmake)
#   linux       the portable Linux folder (linux/sdl2.cmake)
# and names the CMake initial cache in the platform's folder that holds that build's options.
# A finished install is reused as long as those options are unchanged: SDL2 is built once.
#
# The source is fetched once into build/sdl2-source for every toolchain, with apt from the archive
# the machine's apt already uses, but through a source list, package lists and a cache of the
# project's own under build/apt: the deb entries of the machine's Debian archives again as
# deb-src entries. The machine's apt configuration is only read; nothing under /etc changes and
# no root is needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
toolchain=${1:?usage: build-sdl2.sh emscripten|mingw|linux DIR}
dir=${2:?usage: build-sdl2.sh emscripten|mingw|linux DIR}
case $toolchain in
  emscripten) options=$root/web/sdl2.cmake configure=(emcmake cmake) ;;
  mingw) options=$root/windows/sdl2.cmake configure=(cmake) ;;
  linux) options=$root/linux/sdl2.cmake configure=(cmake) ;;
  *) echo "build-sdl2.sh: unknown toolchain '$toolchain' (emscripten, mingw or linux)" >&2; exit 2 ;;
esac
# What every toolchain shares: a release build without SDL2's test library and SDL2main, which
# the programs do not use, and without the subsystems the demo never starts (joysticks, haptics,
# HID devices, sensors, power); the rest comes from the toolchain's options. SDL2 compiles through
# ccache wherever one is installed, unless told not to: it is built once, so the cache would only
# ever miss, and a miss costs a second pass of the preprocessor (for Emscripten, a second start of
# its compiler: 64 s of CPU for the browser's SDL2 without, 111 s with an empty cache).
shared=(-DCMAKE_BUILD_TYPE=Release -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON -DSDL2_DISABLE_UNINSTALL=ON
  -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF -DSDL_CCACHE=OFF)
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
install=$dir/install
# The options the install was made with, so that a change to them builds SDL2 again: the
# platform folder's CMake files (the options file includes others of them) and the shared ones.
stamp="$toolchain $({ cat "$(dirname "$options")"/*.cmake; echo "${shared[*]}"; } | sha256sum | cut -d ' ' -f 1)"
if [ "$(cat "$install/.complete" 2>/dev/null)" = "$stamp" ]; then
  echo "$install"
  exit 0
fi

# fetch_source: prints the unpacked source tree, fetching it first if it is not there yet.
fetch_source() {
  local sources=$root/build/sdl2-source apt_dir=$root/build/apt tree
  mkdir -p "$sources"
  # Several builds may ask at once (make -j): one fetches, the others wait and take its tree.
  exec 8>"$sources/.lock"
  flock 8
  tree=$(find "$sources" -maxdepth 2 -name CMakeLists.txt -path '*/libsdl2-*/CMakeLists.txt' -printf '%h\n' | head -n 1)
  if [ -z "$tree" ]; then
    "$root/scripts/install-deps.sh" sdl2-source >&2
    rm -rf "$apt_dir"
    mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    # One-line entries (deb [options] URI suite components) and deb822 stanzas (Types: deb) of the
    # Debian archives; other vendors' archives carry no Debian source packages.
    local one_line=() stanzas=()
    [ -f /etc/apt/sources.list ] && one_line+=(/etc/apt/sources.list)
    for file in /etc/apt/sources.list.d/*.list; do [ -f "$file" ] && one_line+=("$file"); done
    for file in /etc/apt/sources.list.d/*.sources; do [ -f "$file" ] && stanzas+=("$file"); done
    if [ ${#one_line[@]} -gt 0 ]; then
      sed -n 's/^[[:space:]]*deb[[:space:]]\(.*debian.*\)$/deb-src \1/p' "${one_line[@]}"
    fi >"$apt_dir/sources.list"
    if [ ${#stanzas[@]} -gt 0 ]; then
      awk 'BEGIN { RS = ""; FS = "\n" }
        {
          types = ""; uris = ""; enabled = "yes"
          for (i = 1; i <= NF; i++) {
            if (tolower($i) ~ /^types:/) types = $i
            if (tolower($i) ~ /^uris:/) uris = $i
            if (tolower($i) ~ /^enabled:/) enabled = tolower($i)
          }
          if (types !~ /[: \t]deb([ \t]|$)/ || uris !~ /debian/ || enabled ~ /no/) next
          for (i = 1; i <= NF; i++) print (tolower($i) ~ /^types:/ ? "Types: deb-src" : $i)
          print ""
        }' "${stanzas[@]}"
    fi >"$apt_dir/sources.list.d/debian-src.sources"
    if ! grep -qs '^deb-src\|^Types: deb-src' "$apt_dir/sources.list" "$apt_dir/sources.list.d/debian-src.sources"; then
      echo "build-sdl2.sh: apt's sources (/etc/apt) name no Debian archive to take SDL2's source from" >&2
      exit 1
    fi
    local apt=(apt-get -q -o "Dir::Etc::SourceList=$apt_dir/sources.list"
      -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d" -o "Dir::State::Lists=$apt_dir/lists"
      -o "Dir::Cache=$apt_dir/cache" -o "APT::Sandbox::User=$(id -un)")
    "${apt[@]}" update >&2
    (cd "$sources" && "${apt[@]}" source libsdl2 >&2)
    tree=$(find "$sources" -maxdepth 2 -name CMakeLists.txt -path '*/libsdl2-*/CMakeLists.txt' -printf '%h\n' | head -n 1)
    [ -n "$tree" ] || { echo "build-sdl2.sh: apt fetched no SDL2 source tree into $sources" >&2; exit 1; }
  fi
  exec 8>&-
  echo "$tree"
}

source_tree=$(fetch_source)
rm -rf "$dir/build" "$install"
if [ "$toolchain" = emscripten ]; then
  # Emscripten's toolchain file asks em-config, a Python program, for Emscripten's cache
  # directory each time CMake reads the file: three times in each of SDL2's 160 configuration
  # checks, nearly half of the configure's time. The answer cannot change during the configure,
  # so it is asked once here and a shell stand-in first in PATH gives it; any other question goes
  # to the real em-config.
  stand_in=$dir/em-config-once
  mkdir -p "$stand_in"
  printf '#!/bin/sh\nif [ "$*" = CACHE ]; then echo %q; else exec %q "$@"; fi\n' \
    "$(em-config CACHE)" "$(command -v em-config)" >"$stand_in/em-config"
  chmod +x "$stand_in/em-config"
  export PATH=$stand_in:$PATH
fi
# The generator is CMake's choice from the environment, Ninja from the Makefile.
"${configure[@]}" -S "$source_tree" -B "$dir/build" -C "$options" \
  "${shared[@]}" -DCMAKE_INSTALL_PREFIX="$install" >&2
cmake --build "$dir/build" -j "${JOBS:-$(nproc)}" >&2
cmake --install "$dir/build" >&2
echo "$stamp" >"$install/.complete"
echo "$install"
