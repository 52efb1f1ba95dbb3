#!/usr/bin/env bash
# build-sdl2.sh DIR: cross-builds SDL2 for 64-bit Windows from Debian's own SDL2 source package
# (Debian ships no SDL2 for MinGW) as a static library and installs it under DIR/install, then
# prints the folder of its CMake package. A finished install is reused: SDL2 is built once.
#
# Only the static library is made, so the programs need no SDL2.dll beside them. The subsystems
# the demo never starts (joysticks, haptics, HID devices, sensors, power) are left out; every
# video, render and audio driver that SDL2 has on Windows stays in, the disk and dummy audio
# drivers included, which the tests use.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=${1:?usage: build-sdl2.sh DIR}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
package=$dir/install/lib/cmake/SDL2
if [ -f "$package/SDL2Config.cmake" ] && [ -f "$dir/install/lib/libSDL2.a" ]; then
  echo "$package"
  exit 0
fi

source_tree=$("$here/../tools/fetch-sdl2-source.sh" "$dir/src")
cmake -S "$source_tree" -B "$dir/build" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$dir/install" \
  -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON -DSDL2_DISABLE_UNINSTALL=ON \
  -DSDL_CCACHE=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF \
  -DSDL_POWER=OFF >&2
cmake --build "$dir/build" -j "${JOBS:-$(nproc)}" >&2
cmake --install "$dir/build" >&2
echo "$package"
