#include "text/font.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace {

constexpr std::uint32_t a4 = 0x40B6DB6F, a5 = 0x40E4924A, a6 = 0x41092493, a7 = 0x41200001, a8 = 0x4136DB6F,
                        a9 = 0x414DB6DC, a10 = 0x4164924A;

struct Metrics {
  std::string_view characters;
  int width, height, offset_x, offset_y;
  std::uint32_t advance_bits;
};

constexpr auto main_metrics = std::to_array<Metrics>({
    {".", 2, 2, 1, 8, a4},        {":", 2, 10, 1, -2, a4},     {"i", 2, 15, 1, -5, a4},
    {"l", 2, 16, 1, -6, a4},      {",", 3, 4, 0, 8, a4},       {"I", 5, 16, 0, -6, a4},
    {" ", 7, 0, 0, 10, a5},       {"1", 5, 16, 1, -6, a6},     {"j", 6, 18, 0, -5, a6},
    {"-", 8, 2, 0, 1, a6},        {"r", 8, 12, 0, -2, a6},     {"t", 8, 15, 0, -5, a6},
    {"/f", 8, 16, 0, -6, a6},     {"acnsz", 9, 12, 0, -2, a7}, {"EFJLZhk", 9, 16, 0, -6, a7},
    {"eouvx", 11, 12, 0, -2, a8}, {"gpqy", 11, 15, 0, -2, a8}, {"#0234569ABDHKNPRSTVXYbd", 11, 16, 0, -6, a8},
    {"CGOQU", 12, 16, 0, -6, a9}, {"mw", 13, 12, 0, -2, a10},  {"%@", 13, 14, 0, -5, a10},
    {"MW", 13, 16, 0, -6, a10},
});

double advance_of(std::uint32_t bits) { return static_cast<double>(std::bit_cast<float>(bits)); }

std::size_t record_size(const Glyph& glyph) { return 14 + glyph.coverage.size(); }

}  // namespace

TEST(MainFont, EveryGlyphHasItsMetrics) {
  int glyphs = 0;
  for (const Metrics& m : main_metrics) {
    for (const char c : m.characters) {
      SCOPED_TRACE(std::string("character '") + c + "'");
      const Glyph g = main_font_glyph(static_cast<unsigned char>(c));
      EXPECT_EQ(g.width, m.width);
      EXPECT_EQ(g.height, m.height);
      EXPECT_EQ(g.offset_x, m.offset_x);
      EXPECT_EQ(g.offset_y, m.offset_y);
      EXPECT_EQ(g.coverage.size(), static_cast<std::size_t>(m.width * m.height + 1));
      EXPECT_EQ(g.coverage.back(), 0) << "closing byte";
      EXPECT_EQ(g.advance, advance_of(m.advance_bits));
      ++glyphs;
    }
  }
  EXPECT_EQ(glyphs, 69);
}

TEST(MainFont, RecordsAddUpTo10857Bytes) {
  std::size_t total = 0;
  for (const Metrics& m : main_metrics)
    for (const char c : m.characters) total += record_size(main_font_glyph(static_cast<unsigned char>(c)));
  EXPECT_EQ(total, 10857u);
}

TEST(MainFont, SpaceIsAnEmptyBoxOnTheBaseline) {
  const Glyph space = main_font_glyph(' ');
  EXPECT_EQ(space.width, 7);
  EXPECT_EQ(space.height, 0);
  ASSERT_EQ(space.coverage.size(), 1u);
  EXPECT_EQ(space.coverage[0], 0);
  EXPECT_EQ(space.offset_y, 10);
  EXPECT_EQ(space.advance, 7.142857551574707);
}

TEST(MainFont, HeightComesFromTheCoverageCount) {
  const Glyph g = main_font_glyph('g');
  EXPECT_EQ(g.coverage.size(), 166u);
  EXPECT_EQ(g.width, 11);
  EXPECT_EQ(g.height, 15);
  const Glyph j = main_font_glyph('j');
  EXPECT_EQ(j.coverage.size(), 109u);
  EXPECT_EQ(j.width, 6);
  EXPECT_EQ(j.height, 18);
}

TEST(MainFont, AdvancesAddUpInDoubleFromTheirFloats) {
  double pen = 0;
  for (const char c : std::string_view{"acnszEF"})
    pen += main_font_glyph(static_cast<unsigned char>(c)).advance;
  EXPECT_EQ(pen, 70.00000667572021);
  EXPECT_EQ(std::trunc(pen), 70.0);
}

// The face sits on a grid of 10/7 pixel per unit, so a pixel's coverage is an exact number of
// 49ths; along a straight edge it is a number of sevenths (multiples of 255/7).
TEST(MainFont, CoverageIsExactGridAreaMostlyInSevenths) {
  int non_zero = 0, sevenths = 0;
  for (const Metrics& m : main_metrics) {
    for (const char c : m.characters) {
      const Glyph g = main_font_glyph(static_cast<unsigned char>(c));
      bool inked = false;
      for (std::size_t i = 0; i + 1 < g.coverage.size(); ++i) {
        const int value = g.coverage[i];
        if (value == 0) continue;
        inked = true;
        ++non_zero;
        bool area_of_49ths = false;
        for (int area = 1; area <= 49; ++area) area_of_49ths |= value == std::lround(255.0 * area / 49);
        EXPECT_TRUE(area_of_49ths) << "'" << c << "' byte " << i << " = " << value;
        for (int area = 1; area <= 7; ++area) sevenths += value == std::lround(255.0 * area / 7) ? 1 : 0;
      }
      if (c != ' ') {
        EXPECT_TRUE(inked) << "'" << c << "' has no ink";
      }
    }
  }
  EXPECT_GT(sevenths * 4, non_zero * 3) << sevenths << " of " << non_zero;
}

TEST(MainFontDeathTest, MissingCharactersAreFatal) {
  for (const std::uint32_t c : {U'7', U'8', U'!', U'~', U'\u0141'}) {
    EXPECT_EXIT(main_font_glyph(c), testing::ExitedWithCode(1), "") << static_cast<char>(c);
  }
}

TEST(LogoFont, HoldsTheLogoTextInItsClasses) {
  std::size_t total = 0;
  for (const char c : std::string_view{"Zaq-Plume"}) {
    SCOPED_TRACE(std::string("character '") + c + "'");
    const Glyph g = logo_font_glyph(static_cast<unsigned char>(c));
    total += record_size(g);
    EXPECT_EQ(g.offset_x, 0);
    EXPECT_EQ(g.coverage.size(), static_cast<std::size_t>(g.width * g.height + 1));
    EXPECT_EQ(g.coverage.back(), 0);
    if (c == '-') {
      EXPECT_EQ(g.width, 11);
      EXPECT_EQ(g.height, 5);
      EXPECT_EQ(g.offset_y, 9);
      EXPECT_EQ(g.advance, advance_of(0x4131CFE9));
      continue;
    }
    EXPECT_GE(g.width, 12);
    EXPECT_LE(g.width, 19);
    EXPECT_LT(std::abs(g.advance - g.width), 0.6);
    EXPECT_NE(g.advance, std::trunc(g.advance)) << "advance has a fractional part";
    EXPECT_GE(g.advance, 12.430938720703125);
    EXPECT_LE(g.advance, 18.79557991027832);
    if (c == 'Z' || c == 'P' || c == 'l') {  // capitals and the ascender stand on the pen's y
      EXPECT_EQ(g.offset_y, 0);
      EXPECT_EQ(g.height, 18);
    } else if (c == 'q') {  // descender
      EXPECT_EQ(g.offset_y, 6);
      EXPECT_EQ(g.height, 16);
    } else {  // x-height, 13 with overshoot
      EXPECT_EQ(g.offset_y, 6);
      EXPECT_TRUE(g.height == 12 || g.height == 13);
    }
    int ink = 0;
    for (const std::uint8_t value : g.coverage) ink += value == 255 ? 1 : 0;
    EXPECT_GT(ink, 0) << "solid strokes";
  }
  EXPECT_EQ(total, 1707u);
}

TEST(LogoFontDeathTest, CharactersOutsideTheLogoAreFatal) {
  for (const std::uint32_t c : {U'A', U'z', U'L', U' ', U'7', U'\u015A'}) {
    EXPECT_EXIT(logo_font_glyph(c), testing::ExitedWithCode(1), "") << c;
  }
}
