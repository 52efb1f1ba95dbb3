# SDL2's options for the browser (tools/build-sdl2.sh emscripten): a static library. The
# Emscripten back-ends of video, audio, events, timers and the file system come on by themselves;
# threads stay off, since the page runs without shared memory.
set(SDL_SHARED OFF CACHE BOOL "")
set(SDL_STATIC ON CACHE BOOL "")
set(SDL_THREADS OFF CACHE BOOL "")
# Each of SDL2's hundred and fifty configure checks is a small CMake project of its own that
# reads Emscripten's toolchain file again, and that file asks the compiler for its version twice
# unless it is handed down: half of each check's time.
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES "EMSCRIPTEN_VERSION;CMAKE_C_COMPILER_VERSION;CMAKE_CXX_COMPILER_VERSION" CACHE STRING "")
