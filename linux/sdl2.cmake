# SDL2's options for the portable Linux folder (scripts/build-sdl2.sh linux): a shared library
# that loads its video and sound back-ends when the program starts, so it runs wherever any of
# them is installed and needs none of them to load itself.
set(SDL_SHARED ON CACHE BOOL "")
set(SDL_STATIC OFF CACHE BOOL "")
set(SDL_X11_SHARED ON CACHE BOOL "")
set(SDL_WAYLAND_SHARED ON CACHE BOOL "")
set(SDL_WAYLAND_LIBDECOR_SHARED ON CACHE BOOL "")
set(SDL_KMSDRM_SHARED ON CACHE BOOL "")
set(SDL_ALSA_SHARED ON CACHE BOOL "")
set(SDL_PULSEAUDIO_SHARED ON CACHE BOOL "")
set(SDL_PIPEWIRE_SHARED ON CACHE BOOL "")
set(SDL_SNDIO_SHARED ON CACHE BOOL "")
set(SDL_LIBSAMPLERATE_SHARED ON CACHE BOOL "")
# Without a display a desktop program ends with an error; the offscreen driver would let it run
# on without a window instead.
set(SDL_OFFSCREEN OFF CACHE BOOL "")
