# Settings of the portable Linux build (the folder of make linux), included at the top of the tree
# so that they reach every target.

# The C++ runtime and libgcc linked in: a visitor's system needs none of this compiler's
# libraries, only the C library, libm and the SDL2 beside the programs. Any exception the runtime
# can throw drags its std::random_device object in (through the string instantiations it shares
# a file with), and that object calls glibc 2.36's arc4random; the programs never reach it, and
# dropping the sections nothing reaches drops that call, so glibc 2.35 is enough.
add_link_options(-static-libstdc++ -static-libgcc LINKER:--gc-sections)
# The programs find SDL2 in their own folder, wherever it is unpacked. Linking with the run path
# of the installed program from the start keeps this build's SDL2 directory out of them.
set(CMAKE_BUILD_WITH_INSTALL_RPATH ON)
set(CMAKE_INSTALL_RPATH "$ORIGIN")
