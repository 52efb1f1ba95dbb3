#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The release's info file (the .nfo): a person's template of prose with the program's texts put
// in, written as scene viewers expect it: plain ASCII, at most 80 columns, CR LF line ends.
//
// In the template (UTF-8, LF or CR LF line ends), @PARTY@ and @GROUP@ stand for the party's name
// and the group's name anywhere in a line, and @SECONDS@ for the run's length in seconds. A line
// of = signs alone underlines the line above it: it takes that line's length once the
// placeholders are filled in. A line holding only one of these, after spaces, is replaced by a
// block set at that indentation:
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

// A visitor's read-me from its template, by the same rules, with LF line ends: the packers give
// each platform the line ends its viewers expect.
InfoFile read_me(std::string_view template_text);

// The run's length as the texts state it, in whole seconds where it is whole: "114".
std::string run_seconds_text();

// The text with its inline placeholders (@PARTY@, @GROUP@, @SECONDS@) filled in, each value
// passed through `escape` first; an unknown placeholder is named in `error`.
using Escape = std::string (*)(std::string_view);
std::string with_inline_values(std::string_view text, Escape escape, std::string& error);
