# cmake -P pack_zip.cmake with STAGE, ZIP, STRIP, PROGRAMS, README, NOTICES, SDL2_LICENCE and
# MINGW_NOTICES: lays out the zip's contents in STAGE and packs them, flat, into ZIP.
#
#   vexal25-herald.exe, vexal25-herald-drawable.exe   stripped
#   README.txt                                        for the party visitor
#   LICENSE (as the tree names it, .txt added)        the demo's own licence
#   licenses/                                         the typeface's, SDL2's and MinGW-w64's
#
# Text files get CR LF line ends, so every Windows editor shows them as written.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE}/licenses)

foreach(program ${PROGRAMS})
  get_filename_component(name ${program} NAME)
  execute_process(COMMAND ${STRIP} -o ${STAGE}/${name} ${program} COMMAND_ERROR_IS_FATAL ANY)
endforeach()

function(copy_text from to)
  file(READ ${from} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${to} "${text}")
endfunction()

# A notice without an extension gets .txt, so a double-click opens it.
function(text_name notice prefix out)
  get_filename_component(name ${notice} NAME)
  if(NOT name MATCHES "\\.")
    set(name ${name}.txt)
  endif()
  set(${out} ${prefix}${name} PARENT_SCOPE)
endfunction()

copy_text(${README} ${STAGE}/README.txt)
foreach(notice ${NOTICES})
  # The demo's own licence stands beside the programs; a typeface's notice goes with the others.
  get_filename_component(folder ${notice} DIRECTORY)
  if(folder MATCHES "/assets/fonts$")
    text_name(${notice} licenses/font- name)
  else()
    text_name(${notice} "" name)
  endif()
  copy_text(${notice} ${STAGE}/${name})
endforeach()
copy_text(${SDL2_LICENCE} ${STAGE}/licenses/SDL2.txt)
copy_text(${MINGW_NOTICES} ${STAGE}/licenses/MinGW-w64-runtime.txt)

file(GLOB_RECURSE contents RELATIVE ${STAGE} ${STAGE}/*)
list(SORT contents)
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip -- ${contents}
                WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)
