#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// One baked glyph record as the font tables hold it: the packed little-endian record (u16
// width, i32 x offset, i32 y offset, f32 advance, coverage rows, closing 0) and the number of
// coverage bytes after its 14-byte header. An empty record marks a character the font lacks.
struct GlyphRecord {
  std::span<const std::uint8_t> bytes;
  std::size_t coverage_count;
};

// A logo-font entry: the logo font holds only a handful of characters.
struct KeyedGlyphRecord {
  std::uint8_t key;
  GlyphRecord record;
};
