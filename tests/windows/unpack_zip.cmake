# cmake -DZIP=... -DOUT=... -DOBJDUMP=... -DPROGRAMS=... -P unpack_zip.cmake: unpacks the Windows zip into OUT,
# which then holds nothing else, so the tests run the programs as a Windows user would: from the
# unpacked folder, with no DLL of MinGW's or SDL2's anywhere Windows would look. Checks that the
# zip holds the two programs, the read-me and the licence notices, no DLL, and that the programs
# import only DLLs that come with Windows itself.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${ZIP} WORKING_DIRECTORY ${OUT} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not unpack ${ZIP}")
endif()

file(GLOB_RECURSE contents RELATIVE ${OUT} ${OUT}/*)
list(TRANSFORM PROGRAMS APPEND .exe OUTPUT_VARIABLE program_files)
foreach(required ${program_files} README.txt licenses/SDL2.txt licenses/MinGW-w64-runtime.txt)
  if(NOT required IN_LIST contents)
    message(FATAL_ERROR "expected ${required} in the zip, saw: ${contents}")
  endif()
endforeach()
list(FILTER contents INCLUDE REGEX "\\.[dD][lL][lL]$")
if(contents)
  message(FATAL_ERROR "expected no DLL in the zip, saw: ${contents}")
endif()

# Present on every 64-bit Windows, in System32.
set(system_dlls advapi32 cfgmgr32 comctl32 comdlg32 dwmapi gdi32 hid imm32 kernel32 msvcrt ntdll
                ole32 oleaut32 setupapi shell32 shlwapi user32 uxtheme version winmm ws2_32)
foreach(program ${program_files})
  execute_process(COMMAND ${OBJDUMP} -p ${OUT}/${program} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
  if(failed OR NOT imports)
    message(FATAL_ERROR "could not read the imports of ${program}")
  endif()
  foreach(import ${imports})
    string(REGEX REPLACE "DLL Name: (.+)\\.[dD][lL][lL]" "\\1" dll "${import}")
    string(TOLOWER ${dll} dll)
    if(NOT dll IN_LIST system_dlls)
      message(FATAL_ERROR "${program} imports ${dll}.dll, expected only Windows' own DLLs (${system_dlls})")
    endif()
  endforeach()
endforeach()
