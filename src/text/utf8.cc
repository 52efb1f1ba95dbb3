#include "text/utf8.h"

#include <cstddef>

namespace {
std::uint32_t continuation(const char* byte) { return static_cast<std::uint8_t>(*byte) & 0x3Fu; }
}  // namespace

std::uint32_t next_code_point(TextCursor& cursor) {
  if (cursor.current == cursor.end) return end_of_text;
  const char* p = cursor.current;
  const std::uint32_t b0 = static_cast<std::uint8_t>(p[0]);
  // The lead byte alone tells the length; the texts are constants known to be valid UTF-8, but
  // a truncated sequence at the very end still stops at the end instead of reading past it.
  const std::ptrdiff_t length = b0 < 0x80 ? 1 : b0 < 0xE0 ? 2 : b0 < 0xF0 ? 3 : 4;
  if (cursor.end - p < length) {
    cursor.current = cursor.end;
    return end_of_text;
  }
  cursor.current = p + length;
  switch (length) {
    case 1:
      return b0;
    case 2:
      return ((b0 & 0x1Fu) << 6) | continuation(p + 1);
    case 3:
      return ((b0 & 0x0Fu) << 12) | (continuation(p + 1) << 6) | continuation(p + 2);
    default:
      return ((b0 & 0x07u) << 18) | (continuation(p + 1) << 12) | (continuation(p + 2) << 6) |
             continuation(p + 3);
  }
}
