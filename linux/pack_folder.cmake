# cmake -P pack_folder.cmake with FOLDER, STRIP, PROGRAMS, SDL2, README, NOTICES and SDL2_LICENCE:
# lays out the folder for Linux visitors.
#
#   vexal25-herald, vexal25-herald-drawable   stripped, run path $ORIGIN
#   libSDL2-2.0.so.0                          stripped, under the name the programs ask for
#   README.txt                                for the visitor
#   LICENSE (as the tree names it)            the demo's own licence
#   licenses/                                 the typeface's and SDL2's
#
# It is laid out beside FOLDER and takes its name when complete, so a failed step leaves the
# older folder as it was rather than half a new one.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../release/place_notices.cmake)
set(stage ${FOLDER}.new)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage})

foreach(program ${PROGRAMS})
  get_filename_component(name ${program} NAME)
  execute_process(COMMAND ${STRIP} -o ${stage}/${name} ${program} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
# The library's name on disk carries its full version; the programs ask for its soname.
execute_process(COMMAND ${STRIP} -o ${stage}/libSDL2-2.0.so.0 ${SDL2} COMMAND_ERROR_IS_FATAL ANY)

file(COPY_FILE ${README} ${stage}/README.txt)
place_notices(${stage} NOTICES ${NOTICES} LIBRARIES SDL2=${SDL2_LICENCE})

file(REMOVE_RECURSE ${FOLDER})
file(RENAME ${stage} ${FOLDER})
