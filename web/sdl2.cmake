# SDL2's options for the browser (tools/build-sdl2.sh emscripten): a static library. The
# Emscripten back-ends of video, audio, events, timers and the file system come on by themselves;
# threads stay off, since the page runs without shared memory.
set(SDL_SHARED OFF CACHE BOOL "")
set(SDL_STATIC ON CACHE BOOL "")
set(SDL_THREADS OFF CACHE BOOL "")
