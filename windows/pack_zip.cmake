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
include(${CMAKE_CURRENT_LIST_DIR}/../release/place_notices.cmake)
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})

foreach(program ${PROGRAMS})
  get_filename_component(name ${program} NAME)
  execute_process(COMMAND ${STRIP} -o ${STAGE}/${name} ${program} COMMAND_ERROR_IS_FATAL ANY)
endforeach()

copy_text(${README} ${STAGE}/README.txt)
place_notices(${STAGE} WINDOWS_TEXT NOTICES ${NOTICES} LIBRARIES SDL2=${SDL2_LICENCE}
              MinGW-w64-runtime=${MINGW_NOTICES})

file(GLOB_RECURSE contents RELATIVE ${STAGE} ${STAGE}/*)
list(SORT contents)
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip -- ${contents}
                WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)
