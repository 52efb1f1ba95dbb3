#include "scenes/wave_fill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// The wave written the plain way, column by column and row by row, every value recomputed per
// pixel: the fast fill must reproduce it byte for byte.
std::vector<std::uint8_t> reference_wave(std::uint32_t w, std::uint32_t h, double t) {
  std::vector<std::uint8_t> out(4 * static_cast<std::size_t>(w) * h, 0xEE);
  const double p = (t - 12.0) * 0.1;
  const double cut = (p > 1.0 ? 0.0 : 1.0 - p) * static_cast<double>(w);
  const double phase = (p - 0.75) * static_cast<double>(w);
  const double half = static_cast<double>(h) * 0.5;
  for (std::uint32_t i = 0; i < w; ++i) {
    double a = phase + i;
    if (a > static_cast<double>(w)) a = a - static_cast<double>(w);
    const double f = std::floor((std::sin(a * 6.282 / static_cast<double>(w)) + 1.0) * half);
    const std::uint64_t line = f < 0.0 ? 0 : static_cast<std::uint64_t>(f);
    const std::uint32_t q = (i * 512u) / w;
    for (std::uint32_t j = 0; j < h; ++j) {
      const std::size_t n = i + static_cast<std::size_t>(j) * w;
      unsigned alpha = 0;
      if (!(cut > i || line >= j)) alpha = n % 7 == 0 ? 255 : 122;
      if (j <= line + 3) alpha = alpha * 2 / 3;
      out[4 * n + 0] = static_cast<std::uint8_t>(122 - q / 8);
      out[4 * n + 1] = static_cast<std::uint8_t>(255 - q / 2);
      out[4 * n + 2] = static_cast<std::uint8_t>(q / 2);
      out[4 * n + 3] = static_cast<std::uint8_t>(alpha);
    }
  }
  return out;
}

std::vector<std::uint8_t> fast_wave(std::uint32_t w, std::uint32_t h, double t) {
  std::vector<std::uint8_t> out(4 * static_cast<std::size_t>(w) * h, 0xEE);
  fill_wave(out, 4 * static_cast<std::size_t>(w), w, h, t);
  return out;
}

std::uint8_t alpha_at(const std::vector<std::uint8_t>& px, std::uint32_t w, std::uint32_t i,
                      std::uint32_t j) {
  return px[4 * (i + static_cast<std::size_t>(j) * w) + 3];
}

}  // namespace

TEST(WaveFill, MatchesThePlainPixelByPixelFieldByteForByte) {
  struct Case {
    std::uint32_t w, h;
    double t;
  };
  for (const Case c : {Case{640, 400, 12.0}, Case{640, 400, 14.321}, Case{640, 400, 17.0},
                       Case{640, 400, 22.0}, Case{640, 400, 29.999}, Case{1, 1, 25.0}, Case{7, 3, 20.0},
                       Case{13, 29, 23.5}, Case{800, 600, 18.25}, Case{333, 7, 21.9}, Case{2, 500, 27.0}}) {
    EXPECT_EQ(fast_wave(c.w, c.h, c.t), reference_wave(c.w, c.h, c.t)) << c.w << "x" << c.h << " at " << c.t;
  }
}

TEST(WaveFill, RevealsFromTheRightEdgeBetweenTwelveAndTwentyTwo) {
  const std::uint32_t w = 640, h = 400;
  auto lit_columns = [&](const std::vector<std::uint8_t>& px) {
    std::vector<bool> lit(w, false);
    for (std::uint32_t i = 0; i < w; ++i) {
      for (std::uint32_t j = 0; j < h && !lit[i]; ++j) lit[i] = alpha_at(px, w, i, j) != 0;
    }
    return lit;
  };
  // t = 12: the whole surface is transparent, colours and all still written.
  const auto at12 = fast_wave(w, h, 12.0);
  for (std::size_t k = 3; k < at12.size(); k += 4) ASSERT_EQ(at12[k], 0) << k;
  EXPECT_EQ(at12[0], 122);
  EXPECT_EQ(at12[1], 255);
  // A revealed column shows from the row below its line on; near the crest the line reaches
  // the last row and the column stays empty.
  auto expected_lit = [&](double t, std::uint32_t first_revealed) {
    const WaveShape shape = wave_shape(t, w, h);
    std::vector<bool> lit(w, false);
    for (std::uint32_t i = first_revealed; i < w; ++i) lit[i] = wave_line(shape, i, w) + 1 < h;
    return lit;
  };
  // t = 17: cut = W / 2, only the right half shows.
  const auto lit17 = lit_columns(fast_wave(w, h, 17.0));
  EXPECT_EQ(lit17, expected_lit(17.0, w / 2));
  for (std::uint32_t i = 0; i < w / 2; ++i) ASSERT_FALSE(lit17[i]) << i;
  // From 22 s every column shows.
  for (const double t : {22.0, 25.0, 29.999}) {
    const auto lit = lit_columns(fast_wave(w, h, t));
    EXPECT_EQ(lit, expected_lit(t, 0)) << t;
    std::size_t count = 0;
    for (const bool b : lit) count += b ? 1 : 0;
    EXPECT_GT(count, w * 9 / 10) << t;
  }
  // Halfway through the reveal, the edge has moved a quarter of the way further left.
  EXPECT_EQ(lit_columns(fast_wave(w, h, 19.5)), expected_lit(19.5, 160));
}

TEST(WaveFill, AlphaAroundTheLineAndTheStreaks) {
  const std::uint32_t w = 640, h = 400;
  const double t = 25.0;
  const WaveShape shape = wave_shape(t, w, h);
  std::uint32_t column = w;
  for (std::uint32_t i = 0; i < w && column == w; ++i) {
    if (wave_line(shape, i, w) == 100) column = i;
  }
  ASSERT_LT(column, w) << "no column with its line at row 100";
  const auto px = fast_wave(w, h, t);
  for (std::uint32_t j = 0; j <= 100; ++j) EXPECT_EQ(alpha_at(px, w, column, j), 0) << j;
  for (std::uint32_t j = 101; j < h; ++j) {
    const bool streak = (column + static_cast<std::size_t>(j) * w) % 7 == 0;
    const std::uint8_t expected = j <= 103 ? (streak ? 170 : 81) : (streak ? 255 : 122);
    EXPECT_EQ(alpha_at(px, w, column, j), expected) << j;
  }
  // Row 0 is transparent everywhere, whatever the line does.
  for (std::uint32_t i = 0; i < w; ++i) EXPECT_EQ(alpha_at(px, w, i, 0), 0) << i;
}

TEST(WaveFill, ColumnShadesRunFromGreenToBlue) {
  const auto px = fast_wave(640, 4, 25.0);
  EXPECT_EQ(px[0], 122);
  EXPECT_EQ(px[1], 255);
  EXPECT_EQ(px[2], 0);
  const std::size_t last = std::size_t{4} * 639;
  EXPECT_EQ(px[last + 0], 59);
  EXPECT_EQ(px[last + 1], 0);
  EXPECT_EQ(px[last + 2], 255);
}

TEST(WaveFill, ExtremeLinesAndRowPadding) {
  // At H = 2 the line of a column lies between 0 and 2. A line of 0 lights row 1, dimmed.
  const std::uint32_t w = 64, h = 2;
  const double t = 25.0;
  const WaveShape shape = wave_shape(t, w, h);
  const auto px = fast_wave(w, h, t);
  for (std::uint32_t i = 0; i < w; ++i) {
    const std::uint64_t line = wave_line(shape, i, w);
    ASSERT_LE(line, h);
    const bool streak = (i + w) % 7 == 0;
    EXPECT_EQ(alpha_at(px, w, i, 1), line == 0 ? (streak ? 170 : 81) : 0) << i;
  }
  // Rows wider than the image: the padding bytes are left alone.
  const std::size_t pitch = 4 * 5 + 8;
  std::vector<std::uint8_t> padded(pitch * 3, 0xEE);
  fill_wave(padded, pitch, 5, 3, 25.0);
  const auto tight = fast_wave(5, 3, 25.0);
  for (std::size_t j = 0; j < 3; ++j) {
    for (std::size_t k = 0; k < 20; ++k) EXPECT_EQ(padded[j * pitch + k], tight[j * 20 + k]);
    for (std::size_t k = 20; k < pitch; ++k) EXPECT_EQ(padded[j * pitch + k], 0xEE);
  }
}
