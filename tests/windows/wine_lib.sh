# shellcheck shell=bash
# The Wine versions of the end-to-end checks that differ (see tests/e2e/lib.sh). Needs
# WINE_SET_WINDOW_SIZE, the path of set_window_size.exe.

# Wine keeps the size of a resizable window on the Windows side and gives the X server no size
# hints, so the minimum is checked there: asked from Windows, the window takes a client area of
# 800 x 500, but of 320 x 200 it keeps 640 x 400. It is left at 640 x 400.
check_minimum_size() {
  local larger smaller
  larger=$(wine "$WINE_SET_WINDOW_SIZE" vexal25-herald.cc 800 500 | tr -d '\r')
  smaller=$(wine "$WINE_SET_WINDOW_SIZE" vexal25-herald.cc 320 200 | tr -d '\r')
  if [ "$larger" != 800x500 ] || [ "$smaller" != 640x400 ]; then
    e2e_fail "resized from Windows to 800x500 and then 320x200, the window became $larger and then $smaller, not 800x500 and then 640x400"
  fi
  [ "$(window_size "$1")" = 640x400 ] || e2e_fail "the X window is $(window_size "$1") after the resizes, not 640x400"
}

# Under Wine beside the builds a key press or a close request that comes while Wine moves the
# focus is now and then lost: it is repeated while the program runs.
end_run() {
  end_with 30 "$@"
}

# Wine's own end takes about 2.5 s more than the program's (it waits 2 s for a window manager that
# Xvfb does not have).
run_teardown_seconds=6

# SDL2 on Windows reads every environment variable into one shared buffer, so a file named in
# SDL_DISKAUDIOFILE would be renamed by the value of SDL_DISKAUDIODELAY read after it. With a
# delay the file goes unnamed, and the driver writes sdlaudio.raw in the current folder: the
# test moves to FILE's folder (a folder of its own), and FILE is a link to that file.
record_sound() {
  export SDL_AUDIODRIVER=disk
  if [ -z "${2:-}" ]; then
    export SDL_DISKAUDIOFILE=$1
    return
  fi
  unset SDL_DISKAUDIOFILE
  export SDL_DISKAUDIODELAY=$2
  cd "$(dirname "$1")" || e2e_fail "no folder for the sound file $1"
  ln -sf sdlaudio.raw "$1"
}
