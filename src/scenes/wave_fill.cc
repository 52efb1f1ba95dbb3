#include "scenes/wave_fill.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "base/bit_copy.h"

namespace {

// One pixel's four bytes in memory order, as the 32-bit word that stores them in one go.
std::uint32_t pixel_word(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t alpha) {
  return bit_copy<std::uint32_t>(std::array<std::uint8_t, 4>{red, green, blue, alpha});
}

// The field's alpha: one pixel in seven (in row-major order) opaque, the rest about half, and
// two thirds of that (integer) on the three rows just below the line.
constexpr std::uint8_t streak_alpha = 255;
constexpr std::uint8_t field_alpha = 122;
constexpr std::uint8_t dimmed(std::uint8_t alpha) { return static_cast<std::uint8_t>(alpha * 2 / 3); }
static_assert(dimmed(streak_alpha) == 170 && dimmed(field_alpha) == 81);

}  // namespace

WaveShape wave_shape(double t, std::uint32_t width, std::uint32_t height) {
  const auto w = static_cast<double>(width);
  const double progress = (t - 12.0) * 0.1;
  return WaveShape{(progress > 1.0 ? 0.0 : 1.0 - progress) * w, (progress - 0.75) * w,
                   static_cast<double>(height) * 0.5};
}

std::uint64_t wave_line(const WaveShape& shape, std::uint32_t column, std::uint32_t width) {
  const auto w = static_cast<double>(width);
  double a = shape.phase + static_cast<double>(column);
  if (a > w) a -= w;
  // 6.282, not 2 pi: one wave spans a little more than the canvas width.
  const double line = std::floor((std::sin(a * 6.282 / w) + 1.0) * shape.half);
  if (!(line > 0.0)) return 0;
  return static_cast<std::uint64_t>(line);
}

void fill_wave(std::span<std::uint8_t> pixels, std::size_t pitch, std::uint32_t width, std::uint32_t height,
               double t) {
  if (width == 0 || height == 0) return;
  const WaveShape shape = wave_shape(t, width, height);

  // Everything that depends on the column alone, computed once per column: its colour, the
  // first row below the line (first_lit) and below the dimmed rim (first_full), and its
  // position in the seven-pixel streak pattern. A column left of the reveal edge is lit
  // nowhere: its rows start beyond the last one. Plain arrays and a select per pixel let the
  // compiler run the rows in vector registers.
  const std::uint32_t beyond = height + 1;  // no row reaches it
  std::vector<std::uint32_t> colour(width);
  std::vector<std::uint32_t> first_lit(width);
  std::vector<std::uint32_t> first_full(width);
  std::vector<std::uint32_t> column_mod7(width);
  for (std::uint32_t i = 0; i < width; ++i) {
    // The shade runs 0 ... 511 across the canvas; taken in 64 bits so it cannot wrap.
    const auto q = static_cast<std::uint32_t>(static_cast<std::uint64_t>(i) * 512 / width);
    colour[i] = pixel_word(static_cast<std::uint8_t>(122 - q / 8), static_cast<std::uint8_t>(255 - q / 2),
                           static_cast<std::uint8_t>(q / 2), 0);
    // line <= H, so line + 1 and line + 4 fit 32 bits; held at `beyond` they change nothing.
    const std::uint64_t line = wave_line(shape, i, width);
    const bool revealed = !(shape.cut > static_cast<double>(i));
    first_lit[i] = revealed ? static_cast<std::uint32_t>(std::min<std::uint64_t>(line + 1, beyond)) : beyond;
    first_full[i] = revealed ? static_cast<std::uint32_t>(std::min<std::uint64_t>(line + 4, beyond)) : beyond;
    column_mod7[i] = i % 7;
  }

  const std::uint32_t alpha_field = pixel_word(0, 0, 0, field_alpha);
  const std::uint32_t alpha_streak = pixel_word(0, 0, 0, streak_alpha);
  const std::uint32_t alpha_rim_field = pixel_word(0, 0, 0, dimmed(field_alpha));
  const std::uint32_t alpha_rim_streak = pixel_word(0, 0, 0, dimmed(streak_alpha));

  const std::uint32_t* const colour_of = colour.data();
  const std::uint32_t* const lit_from = first_lit.data();
  const std::uint32_t* const full_from = first_full.data();
  const std::uint32_t* const mod7 = column_mod7.data();
  const std::uint32_t row_step = width % 7;
  std::uint32_t row_phase = 0;  // (j x W) % 7: the pixel number of the row's first pixel, mod 7
  for (std::uint32_t j = 0; j < height; ++j) {
    // Pixel n = i + j W is a streak pixel when i % 7 is the column that completes the seven.
    const std::uint32_t streak_column = (7 - row_phase) % 7;
    std::uint8_t* const row = pixels.data() + static_cast<std::size_t>(j) * pitch;
    for (std::uint32_t i = 0; i < width; ++i) {
      const bool streak = mod7[i] == streak_column;
      const std::uint32_t full = streak ? alpha_streak : alpha_field;
      const std::uint32_t rim = streak ? alpha_rim_streak : alpha_rim_field;
      const std::uint32_t alpha = j >= full_from[i] ? full : (j >= lit_from[i] ? rim : 0);
      const std::uint32_t word = colour_of[i] | alpha;
      std::memcpy(row + 4 * static_cast<std::size_t>(i), &word, 4);
    }
    row_phase += row_step;
    if (row_phase >= 7) row_phase -= 7;
  }
}
