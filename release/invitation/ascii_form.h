#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A UTF-8 text in plain ASCII, as scene viewers show info files: every character above 0x7F
// becomes its nearest ASCII form from a small fixed table. A character the table lacks is
// refused rather than guessed, so the table grows by a person's choice.
struct AsciiForm {
  std::string text;
  // The first code point the table has no form for; 0 when the whole text was converted.
  std::uint32_t refused = 0;
};

AsciiForm ascii_form(std::string_view utf8);
