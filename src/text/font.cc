#include "text/font.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/bit_copy.h"
#include "base/fatal.h"
#include "text/font_tables.h"

namespace {
constexpr std::size_t header_size = 14;
constexpr std::int32_t offset_min = -(1 << 30);
constexpr std::int32_t offset_max = (1 << 30) - 1;

std::uint32_t read_le(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t size) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < size; ++i) value |= std::uint32_t{bytes[at + i]} << (8 * i);
  return value;
}

Glyph glyph_from_record(const GlyphRecord& record) {
  const auto bytes = record.bytes;
  if (bytes.size() < header_size || bytes.size() - header_size < record.coverage_count) fatal();
  const auto width = static_cast<std::uint16_t>(read_le(bytes, 0, 2));
  if (width == 0) fatal();
  const auto offset_x = static_cast<std::int32_t>(read_le(bytes, 2, 4));
  const auto offset_y = static_cast<std::int32_t>(read_le(bytes, 6, 4));
  const auto advance = bit_copy<float>(read_le(bytes, 10, 4));
  return Glyph{
      .coverage = bytes.subspan(header_size, record.coverage_count),
      .offset_x = std::clamp(offset_x, offset_min, offset_max),
      .offset_y = std::clamp(offset_y, offset_min, offset_max),
      .advance = static_cast<double>(advance),
      .width = width,
      .height = static_cast<std::uint16_t>(record.coverage_count / width),
  };
}

// The tables are keyed by the character's 8-bit value. A code point beyond 8 bits is not in
// either font: keying it by its low byte would draw some other character in its place.
std::uint8_t key_of(std::uint32_t code_point) {
  if (code_point > 0xFFu) fatal();
  return static_cast<std::uint8_t>(code_point);
}
}  // namespace

Glyph main_font_glyph(std::uint32_t code_point) {
  const std::uint8_t key = key_of(code_point);
  const std::size_t index = static_cast<std::size_t>(key) - main_font_first_key;
  if (key < main_font_first_key || index >= main_font_table.size()) fatal();
  const GlyphRecord& record = main_font_table[index];
  if (record.bytes.empty()) fatal();
  return glyph_from_record(record);
}

Glyph logo_font_glyph(std::uint32_t code_point) {
  const std::uint8_t key = key_of(code_point);
  const auto* const found = std::find_if(logo_font_table.begin(), logo_font_table.end(),
                                         [key](const KeyedGlyphRecord& entry) { return entry.key == key; });
  if (found == logo_font_table.end()) fatal();
  return glyph_from_record(found->record);
}

Glyph font_glyph(Font font, std::uint32_t code_point) {
  return font == Font::logo ? logo_font_glyph(code_point) : main_font_glyph(code_point);
}
