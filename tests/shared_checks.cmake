# The checks of the real programs, whatever starts them, a row each: the check, its time limit
# (for hangs: the scripts wait on the program's own time where a busy machine slows it), its
# label, and its script in tests/e2e with the arguments, @PROGRAM@ and @VARIANT@ standing for the
# program and its presentation variant, @HELPERS@ for the folder of the native helpers.
#   whole_run      left alone: the run limit and the whole song, judged from one run
#   scenes         screenshots early in each act, judged against the offline frames
#   window         title, size, console lines, Escape, close, the failures without a console
#                  or a sound output
#   first_seconds  the song from its first sample, ended by Escape
#   startup_order  the program's own SDL2 calls, clock reads and pauses, with faults played in
#   soak_input     a whole run resized, hidden, refocused and typed at (sanitizer builds)
#   soak_threads   the audio callback on SDL2's audio thread for 25 s (sanitizer builds)
set(herald_checks
  "whole_run 300 long whole_run_test.sh @PROGRAM@ @HELPERS@/console_clock @HELPERS@/audio_disk_check @HELPERS@/timeline_moments"
  "scenes 300 long scenes_test.sh @PROGRAM@ @VARIANT@ @HELPERS@/timeline_moments @HELPERS@/scenes_judge"
  "window 180 e2e window_test.sh @PROGRAM@ @HELPERS@/close_window"
  "first_seconds 180 e2e first_seconds_test.sh @PROGRAM@ @HELPERS@/audio_disk_check 5"
  "startup_order 120 e2e startup_order_test.sh @PROGRAM@ $<TARGET_FILE:sdl_call_shim>"
  "soak_input 300 soak soak_input.sh @PROGRAM@"
  "soak_threads 180 threads soak_threads.sh @PROGRAM@ 25")

# herald_channel(NAME [START WORD...] [AROUND WORD...] CHECKS CHECK[:PROGRAM]...
#                [FIXTURES FIXTURE] [ENVIRONMENT NAME=VALUE...])
# Registers the checks a channel makes, a CHECK for every program or CHECK:PROGRAM for one, as
# NAME_CHECK_PROGRAM labelled NAME and the row's label; the longest start first. START is how the
# channel starts a program, @PROGRAM@ standing for its name: each program gets a stand-in,
# stand-ins/PROGRAM in this folder of the build, that the checks start as they would the program,
# and herald_start_PROGRAM names it for the channel's own checks. Without START the checks start
# this build's programs. AROUND is what each check runs inside (default: an Xvfb display of its
# own). The helpers are those of the native build HERALD_NATIVE_BUILD, or of this build.
function(herald_channel name)
  cmake_parse_arguments(arg "" "FIXTURES" "START;AROUND;CHECKS;ENVIRONMENT" ${ARGN})
  set(helpers ${PROJECT_BINARY_DIR}/bin)
  if(HERALD_NATIVE_BUILD)
    set(helpers ${HERALD_NATIVE_BUILD}/bin)
  endif()
  if(NOT arg_AROUND)
    set(arg_AROUND ${PROJECT_SOURCE_DIR}/tests/e2e/with_xvfb.sh)
  endif()
  foreach(program ${herald_programs})
    set(start_${program} $<TARGET_FILE:${program}>)
    if(arg_START)
      set(start_${program} ${CMAKE_CURRENT_BINARY_DIR}/stand-ins/${program})
      list(JOIN arg_START "' '" words)
      string(REPLACE "@PROGRAM@" "${program}" words "${words}")
      file(CONFIGURE OUTPUT ${start_${program}} CONTENT "#!/bin/sh\nexec '${words}' \"$@\"\n")
      file(CHMOD ${start_${program}} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
           WORLD_READ WORLD_EXECUTE)
    endif()
    set(herald_start_${program} ${start_${program}} PARENT_SCOPE)
  endforeach()
  set(unused ${arg_CHECKS})
  foreach(row ${herald_checks})
    separate_arguments(row UNIX_COMMAND "${row}")
    list(POP_FRONT row check timeout label script)
    foreach(program ${herald_programs})
      if(NOT check IN_LIST arg_CHECKS AND NOT "${check}:${program}" IN_LIST arg_CHECKS)
        continue()
      endif()
      list(REMOVE_ITEM unused ${check} ${check}:${program})
      set(command ${row})
      list(TRANSFORM command REPLACE "@PROGRAM@" "${start_${program}}")
      list(TRANSFORM command REPLACE "@VARIANT@" "${herald_variant_${program}}")
      list(TRANSFORM command REPLACE "@HELPERS@" "${helpers}")
      add_test(NAME ${name}_${check}_${program} COMMAND ${arg_AROUND} ${PROJECT_SOURCE_DIR}/tests/e2e/${script} ${command})
      set_tests_properties(${name}_${check}_${program} PROPERTIES TIMEOUT ${timeout} COST ${timeout}
        LABELS "${name};${label}" ENVIRONMENT "${arg_ENVIRONMENT}" FIXTURES_REQUIRED "${arg_FIXTURES}")
    endforeach()
  endforeach()
  # A check named wrongly would be left out without a word.
  if(unused)
    message(FATAL_ERROR "herald_channel(${name}): no such check or program: ${unused}")
  endif()
endfunction()
