#pragma once

#include <algorithm>
#include <cstdint>

#include "text/font.h"
#include "text/font_records.h"

// The baked records and their tables, generated from the font sources in assets/fonts, and
// which characters each font holds, known when the program is built.
#include "logo_font_records.inc"
#include "main_font_records.inc"

// Whether the font has a glyph for the code point. The tables are keyed by the character's
// 8-bit value; a code point beyond 8 bits is in neither font.
constexpr bool font_holds(Font font, std::uint32_t code_point) {
  if (code_point > 0xFFu) return false;
  if (font == Font::logo) {
    return std::any_of(logo_font_table.begin(), logo_font_table.end(),
                       [code_point](const KeyedGlyphRecord& entry) { return entry.key == code_point; });
  }
  return code_point >= main_font_first_key && code_point - main_font_first_key < main_font_table.size() &&
         !main_font_table[code_point - main_font_first_key].bytes.empty();
}
