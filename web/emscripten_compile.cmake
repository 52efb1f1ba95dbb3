# Initial cache for the browser builds (emcmake cmake -C, or included by another initial cache):
# sources compile with the clang that Emscripten drives, given the flags emcc would give it, and
# archives are made with its llvm-ar; emcc is left the links. emcc, emar and emranlib are Python
# programs that start afresh for every source file, every archive and every configure check, and
# each start costs 0.7 s of processor time before clang does any work. `emcc --cflags` is
# Emscripten's own answer to "what would you pass clang", and the objects come out the same,
# byte for byte.
#
# -sUSE_SDL=0 is among the settings the flags are asked for: SDL2 comes from its own source built
# for the browser, so Emscripten's SDL emulation and its older SDL headers stay off the include
# path.
execute_process(COMMAND emcc -sUSE_SDL=0 --cflags
  OUTPUT_VARIABLE emcc_flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR emcc_flags STREQUAL "")
  message(FATAL_ERROR "emcc --cflags failed (${status}): is Emscripten installed?")
endif()
# The clang and llvm-ar that emcc runs: LLVM's folder from Emscripten's configuration, and the
# version their names end in where the configuration gives one (Debian's: clang-14).
execute_process(COMMAND em-config LLVM_ROOT OUTPUT_VARIABLE llvm_root OUTPUT_STRIP_TRAILING_WHITESPACE)
foreach(key CLANG LLVM)
  execute_process(COMMAND em-config ${key}_ADD_VERSION
    OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE status)
  set(${key}_suffix "")
  if(status EQUAL 0 AND version)
    set(${key}_suffix -${version})
  endif()
endforeach()
foreach(program clang${CLANG_suffix} clang++${CLANG_suffix} llvm-ar${LLVM_suffix} llvm-ranlib${LLVM_suffix})
  if(NOT EXISTS ${llvm_root}/${program})
    message(FATAL_ERROR "${llvm_root}/${program}, which emcc runs, is missing")
  endif()
endforeach()

set(CMAKE_C_COMPILE_OBJECT
  "${llvm_root}/clang${CLANG_suffix} ${emcc_flags} <DEFINES> <INCLUDES> <FLAGS> -o <OBJECT> -c <SOURCE>"
  CACHE STRING "Compiles a C source as emcc would, without emcc")
set(CMAKE_CXX_COMPILE_OBJECT
  "${llvm_root}/clang++${CLANG_suffix} ${emcc_flags} <DEFINES> <INCLUDES> <FLAGS> -o <OBJECT> -c <SOURCE>"
  CACHE STRING "Compiles a C++ source as em++ would, without em++")
set(HERALD_EMSCRIPTEN_COMPILE ON CACHE INTERNAL "The compile rules come from web/emscripten_compile.cmake")
set(CMAKE_AR ${llvm_root}/llvm-ar${LLVM_suffix} CACHE FILEPATH "The llvm-ar that emar runs")
set(CMAKE_RANLIB ${llvm_root}/llvm-ranlib${LLVM_suffix} CACHE FILEPATH "The llvm-ranlib that emranlib runs")

# Configure checks are small CMake projects of their own: the rules above go to them too, and
# so do the compiler versions, which Emscripten's toolchain file otherwise asks emcc for twice in
# every check.
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES
  "CMAKE_C_COMPILE_OBJECT;CMAKE_CXX_COMPILE_OBJECT;CMAKE_AR;CMAKE_RANLIB;EMSCRIPTEN_VERSION;CMAKE_C_COMPILER_VERSION;CMAKE_CXX_COMPILER_VERSION"
  CACHE STRING "")
