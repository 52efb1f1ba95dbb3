# Tests of the embedded music module (assets/module) and its generator (assets/module/make_module).
herald_test(music_embedded_module_test
  SOURCES embedded_module_test.cc
  LIBS herald_music herald_module_image)
add_dependencies(music_embedded_module_test make_module)
target_compile_definitions(music_embedded_module_test PRIVATE
  HERALD_MAKE_MODULE="$<TARGET_FILE:make_module>"
  HERALD_MODULE_SCORE="${PROJECT_SOURCE_DIR}/assets/module/score.txt"
  HERALD_MODULE_FILE="${PROJECT_SOURCE_DIR}/assets/module/zaqbrq.mod"
  HERALD_TEST_OUTPUT_DIR="${CMAKE_CURRENT_BINARY_DIR}")

# An independent player, when the machine has one: it must take the file for a 31-sample
# "M.K." module of four channels, six patterns and 19 positions lasting 1:54.
find_program(OPENMPT123 openmpt123)
if(OPENMPT123)
  add_test(NAME music_module_opens_in_openmpt123
    COMMAND sh -c [[info=$("$0" --info "$1" 2>&1) || exit 1
      for want in 'M\.K\.' 'Channels\.*: 4$' 'Orders\.*: 19$' 'Patterns\.*: 6$' 'Duration\.*: 01:54\.000$'; do
        printf '%s\n' "$info" | grep -q "$want" || { printf 'missing %s in:\n%s\n' "$want" "$info"; exit 1; }
      done]] ${OPENMPT123} ${PROJECT_SOURCE_DIR}/assets/module/zaqbrq.mod)
endif()
