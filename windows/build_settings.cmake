# Settings of the Windows build (cross-compiled with windows/mingw-w64-x86_64.cmake), included at
# the top of the tree so that they reach every target.

# SDL2's headers rename main to SDL_main on Windows and expect SDL2main's WinMain to call it;
# the programs keep their own plain main in every file instead. Empty, like the definition the
# program's own main.cc makes, so the two agree. MinGW makes console-subsystem executables: one
# started by double-click gets a console of its own, where the time line shows.
add_compile_definitions(SDL_MAIN_HANDLED=)

# SDL2, the C++ runtime, libgcc and winpthreads all linked in: nothing but Windows' own DLLs is
# needed beside the executables.
add_link_options(-static)
