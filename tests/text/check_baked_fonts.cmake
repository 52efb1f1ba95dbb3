# Bakes the fonts afresh from the committed sources and fails if the committed records differ:
# the records are the tool's output and are never edited by hand.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${BAKE} ${SOURCES} ${FACES} ${OUT} RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "bake_fonts failed: ${status}")
endif()
foreach(name main_font_records.inc logo_font_records.inc)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${name} ${SOURCES}/${name} RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "${name} is not what bake_fonts makes from the font sources")
  endif()
endforeach()
