# SDL2's options for 64-bit Windows (scripts/build-sdl2.sh mingw), cross-compiled with MinGW-w64:
# Debian ships no SDL2 for MinGW.
#
# Only the static library is made, so the programs need no SDL2.dll beside them. Every video,
# render and audio driver that SDL2 has on Windows stays in, the disk and dummy audio drivers
# included, which the tests use (the subsystems the demo never starts are left out for every
# toolchain by scripts/build-sdl2.sh).
set(CMAKE_TOOLCHAIN_FILE ${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake CACHE FILEPATH "")
set(SDL_SHARED OFF CACHE BOOL "")
set(SDL_STATIC ON CACHE BOOL "")
