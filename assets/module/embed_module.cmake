# cmake -DINPUT=zaqbrq.mod -DOUTPUT=module_image.h -P embed_module.cmake
# Turns the module file into a header holding it as a constexpr byte array, so the program
# carries the music as constant data and reads no file at run time.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Sixteen bytes a line keep the header readable in a diff.
string(REPEAT "0x..," 16 line_of_bytes)
string(REGEX REPLACE "(${line_of_bytes})" "\\1\n    " bytes "${bytes}")
string(REGEX REPLACE "\n    $" "" bytes "${bytes}")
get_filename_component(input_name "${INPUT}" NAME)
set(text "// Generated from ${input_name} by embed_module.cmake at build time. Do not edit.\n")
string(APPEND text "#pragma once\n\n#include <array>\n#include <cstdint>\n\n")
string(APPEND text "// The four-channel \"M.K.\" music module, compiled into the program.\n")
string(APPEND text "inline constexpr std::array<std::uint8_t, ${size}> module_image{\n    ${bytes}\n};\n")
# Write only on change, so a touched but identical module does not rebuild its users.
file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT "${text}" @ONLY)
