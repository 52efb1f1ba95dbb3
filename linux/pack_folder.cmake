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
set(stage ${FOLDER}.new)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage}/licenses)

foreach(program ${PROGRAMS})
  get_filename_component(name ${program} NAME)
  execute_process(COMMAND ${STRIP} -o ${stage}/${name} ${program} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
# The library's name on disk carries its full version; the programs ask for its soname.
execute_process(COMMAND ${STRIP} -o ${stage}/libSDL2-2.0.so.0 ${SDL2} COMMAND_ERROR_IS_FATAL ANY)

file(COPY_FILE ${README} ${stage}/README.txt)
foreach(notice ${NOTICES})
  # The demo's own licence stands beside the programs; a typeface's notice goes with the others.
  get_filename_component(folder ${notice} DIRECTORY)
  get_filename_component(name ${notice} NAME)
  if(folder MATCHES "/assets/fonts$")
    set(name licenses/font-${name})
  endif()
  file(COPY_FILE ${notice} ${stage}/${name})
endforeach()
file(COPY_FILE ${SDL2_LICENCE} ${stage}/licenses/SDL2.txt)

file(REMOVE_RECURSE ${FOLDER})
file(RENAME ${stage} ${FOLDER})
