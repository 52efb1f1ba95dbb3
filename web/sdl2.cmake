# SDL2's options for the browser (scripts/build-sdl2.sh emscripten): a static library. The
# Emscripten back-ends of video, audio, events, timers and the file system come on by themselves;
# threads stay off, since the page runs without shared memory.
set(SDL_SHARED OFF CACHE BOOL "")
set(SDL_STATIC ON CACHE BOOL "")
set(SDL_THREADS OFF CACHE BOOL "")
# How Emscripten's compiler is driven, for SDL2 as for the programs.
include(${CMAKE_CURRENT_LIST_DIR}/emscripten_compile.cmake)
# SDL2 passes emcc -Wno-warn-absolute-paths, a warning of emcc's own that clang does not know.
set(CMAKE_C_FLAGS "-Wno-unknown-warning-option" CACHE STRING "")
# Each check builds a library instead of a program: linking a program for the browser runs
# Emscripten's JavaScript compiler in Node.js, two thirds of a check's time (SDL2's configure
# and build took 215 s of processor time instead of 295 s). A check that only a link can answer
# would then pass without one; the one that matters is whether iconv is a library of its own (it
# is part of Emscripten's C library), so its answer is given here. The headers and CMake files
# SDL2 installs are the same as those made with the programs linked.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY CACHE STRING "")
set(HAVE_LIBICONV "" CACHE INTERNAL "iconv is in Emscripten's C library, not a library of its own")
