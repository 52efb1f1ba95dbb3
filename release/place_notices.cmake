# The licence notices of a package for visitors, placed the same way in the Windows zip, the
# Linux folder and the release archive: the demo's own licence at the top of the package (under
# the name the tree gives it), a typeface's notice as licenses/font-NAME, and each library's as
# licenses/LIBRARY.txt.
#
# include() it for place_notices(STAGE [WINDOWS_TEXT] [NOTICES file...] [LIBRARIES NAME=file...])
# and copy_text(FROM TO), or run it as cmake -DSTAGE=... -DLIBRARIES=NAME=file... -DWINDOWS_TEXT=ON
# -P place_notices.cmake. With WINDOWS_TEXT every file gets CR LF line ends, so every Windows
# editor shows it as written, and a name without an extension gets .txt, so a double-click
# opens it.
cmake_minimum_required(VERSION 3.25)

# FROM copied to TO with CR LF line ends.
function(copy_text from to)
  file(READ ${from} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${to} "${text}")
endfunction()

function(place_notices stage)
  cmake_parse_arguments(arg "WINDOWS_TEXT" "" "NOTICES;LIBRARIES" ${ARGN})
  file(MAKE_DIRECTORY ${stage}/licenses)
  set(placed)
  foreach(notice ${arg_NOTICES})
    # The demo's own licence stands beside the programs; a typeface's notice goes with the others.
    get_filename_component(folder ${notice} DIRECTORY)
    get_filename_component(name ${notice} NAME)
    if(folder MATCHES "/assets/fonts$")
      set(name licenses/font-${name})
    endif()
    list(APPEND placed "${notice}=${name}")
  endforeach()
  foreach(library ${arg_LIBRARIES})
    string(REGEX MATCH "^([^=]+)=(.+)$" matched ${library})
    list(APPEND placed "${CMAKE_MATCH_2}=licenses/${CMAKE_MATCH_1}.txt")
  endforeach()
  foreach(entry ${placed})
    string(REGEX MATCH "^(.+)=([^=]+)$" matched ${entry})
    set(from ${CMAKE_MATCH_1})
    set(name ${CMAKE_MATCH_2})
    if(arg_WINDOWS_TEXT)
      if(NOT name MATCHES "\\.")
        set(name ${name}.txt)
      endif()
      copy_text(${from} ${stage}/${name})
    else()
      file(COPY_FILE ${from} ${stage}/${name})
    endif()
  endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  if(WINDOWS_TEXT)
    place_notices(${STAGE} WINDOWS_TEXT NOTICES ${NOTICES} LIBRARIES ${LIBRARIES})
  else()
    place_notices(${STAGE} NOTICES ${NOTICES} LIBRARIES ${LIBRARIES})
  endif()
endif()
