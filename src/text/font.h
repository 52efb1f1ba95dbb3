#pragma once

#include <cstdint>
#include <span>

// One baked glyph as a font lookup returns it. The coverage is a view into the constant glyph
// record, closing zero byte included; it is never copied or freed.
struct Glyph {
  std::span<const std::uint8_t> coverage;  // width x height bytes, then one closing 0
  std::int32_t offset_x;                   // pen point to the box's left edge
  std::int32_t offset_y;                   // pen point to the box's top edge, y grows down
  double advance;                          // the stored f32, widened exactly
  std::uint16_t width;                     // at least 1
  std::uint16_t height;                    // coverage count / width; 0 for the space
};

enum class Font { main, logo };

// Lookups by code point; a character the font does not hold is fatal.
Glyph main_font_glyph(std::uint32_t code_point);
Glyph logo_font_glyph(std::uint32_t code_point);
Glyph font_glyph(Font font, std::uint32_t code_point);
