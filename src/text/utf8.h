#pragma once

#include <cstdint>

// One past the highest code point: what next_code_point yields at the end of a text.
inline constexpr std::uint32_t end_of_text = 0x110000;

// A position [current, end) over a text's UTF-8 bytes.
struct TextCursor {
  const char* current;
  const char* end;
};

// Moves the cursor past one character and returns its code point; at the end it returns
// end_of_text and does not move. The texts are valid UTF-8 constants, so nothing is validated.
std::uint32_t next_code_point(TextCursor& cursor);
