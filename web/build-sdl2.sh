#!/usr/bin/env bash
# build-sdl2.sh DIR: builds SDL2 for Emscripten from the source of Debian's own SDL2 package,
# as a static library installed under DIR/install (with its CMake package files), and prints
# that path. Done once: a finished install (DIR/install/.complete) is reused as it is.
# Emscripten's own SDL2 port would be downloaded, which the build must never do.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=${1:?usage: build-sdl2.sh DIR}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
install=$dir/install
if [ -f "$install/.complete" ]; then
  echo "$install"
  exit 0
fi

source=$("$here/../tools/fetch-sdl2-source.sh" "$dir/source")
rm -rf "$dir/build" "$install"
# The Emscripten backends of video, audio, events, timers and the file system come on by
# themselves; threads stay off, since the page runs without shared memory. The test library and
# SDL2main are not needed by the programs.
emcmake cmake -S "$source" -B "$dir/build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$install" \
  -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON -DSDL2_DISABLE_UNINSTALL=ON \
  -DSDL_THREADS=OFF >&2
cmake --build "$dir/build" -j "${JOBS:-2}" >&2
cmake --install "$dir/build" >&2
touch "$install/.complete"
echo "$install"
