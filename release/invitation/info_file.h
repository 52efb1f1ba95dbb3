#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The release's info file (the .nfo): a person's template of prose with the program's texts put
// in, written as scene viewers expect it: plain ASCII, at most 80 columns, CR LF line ends.
//
// In the template (UTF-8, LF or CR LF line ends), @PARTY@ and @GROUP@ stand for the party's name
// and the group's name anywhere in a line. A line holding only one of these, after spaces, is
// replaced by a block set at that indentation:
//   @FACTS@      the party's facts, one "Label:  value" line each, the web address as https://
//   @CREDITS@    the credited handles, comma-separated and wrapped
//   @GREETINGS@  every greeted handle, comma-separated and wrapped
//   @REMARKS@    the group's remarks, one line each, in screen order
// Any other @WORD@ in capitals is refused, as is a character without an ASCII form or a line
// longer than 80 columns.
inline constexpr std::size_t info_columns = 80;

struct InfoFile {
  std::string text;
  // Why no file could be made, in one line; empty on success.
  std::string error;
};

InfoFile info_file(std::string_view template_text);
