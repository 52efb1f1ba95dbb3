#include "scenes/wave_fill.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// One pixel's four bytes in memory order, as the 32-bit word that stores them in one go.
std::uint32_t pixel_word(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t alpha) {
  return std::bit_cast<std::uint32_t>(std::array<std::uint8_t, 4>{red, green, blue, alpha});
}

// The field's alpha: one pixel in seven (in row-major order) opaque, the rest about half, and
// two thirds of that (integer) on the three rows just below the line.
constexpr std::uint8_t streak_alpha = 255;
constexpr std::uint8_t field_alpha = 122;
constexpr std::uint8_t dimmed(std::uint8_t alpha) { return static_cast<std::uint8_t>(alpha * 2 / 3); }
static_assert(dimmed(streak_alpha) == 170 && dimmed(field_alpha) == 81);

}  // namespace

WaveShape wave_shape(double t, std::uint32_t width, std::uint32_t height) {
  const double w = static_cast<double>(width);
  const double progress = (t - 12.0) * 0.1;
  return WaveShape{(progress > 1.0 ? 0.0 : 1.0 - progress) * w, (progress - 0.75) * w,
                   static_cast<double>(height) * 0.5};
}

std::uint64_t wave_line(const WaveShape& shape, std::uint32_t column, std::uint32_t width) {
  const double w = static_cast<double>(width);
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

  // Everything that depends on the column alone, computed once per column: its colour and the
  // first row below the line (first_lit) and below the dimmed rim (first_full). A column left
  // of the reveal edge is lit nowhere.
  std::vector<std::uint32_t> colour(width);
  std::vector<std::uint64_t> first_lit(width);
  std::vector<std::uint64_t> first_full(width);
  for (std::uint32_t i = 0; i < width; ++i) {
    // The shade runs 0 ... 511 across the canvas; taken in 64 bits so it cannot wrap.
    const auto q = static_cast<std::uint32_t>(static_cast<std::uint64_t>(i) * 512 / width);
    colour[i] = pixel_word(static_cast<std::uint8_t>(122 - q / 8), static_cast<std::uint8_t>(255 - q / 2),
                           static_cast<std::uint8_t>(q / 2), 0);
    const std::uint64_t line = wave_line(shape, i, width);
    const bool revealed = !(shape.cut > static_cast<double>(i));
    first_lit[i] = revealed ? line + 1 : UINT64_MAX;
    first_full[i] = revealed ? line + 4 : UINT64_MAX;
  }

  // alpha[rim][streak]: rim = 0 below the rim, 1 on it; streak = pixel number n % 7 == 0.
  const std::uint32_t alpha_field = pixel_word(0, 0, 0, field_alpha);
  const std::uint32_t alpha_streak = pixel_word(0, 0, 0, streak_alpha);
  const std::uint32_t alpha_rim_field = pixel_word(0, 0, 0, dimmed(field_alpha));
  const std::uint32_t alpha_rim_streak = pixel_word(0, 0, 0, dimmed(streak_alpha));

  const std::uint32_t row_step = width % 7;
  std::uint32_t row_phase = 0;  // (j x W) % 7, the pixel number of the row's first pixel mod 7
  for (std::uint32_t j = 0; j < height; ++j) {
    std::uint8_t* row = pixels.data() + static_cast<std::size_t>(j) * pitch;
    std::uint32_t n7 = row_phase;
    for (std::uint32_t i = 0; i < width; ++i) {
      std::uint32_t word = colour[i];
      if (j >= first_full[i]) {
        word |= n7 == 0 ? alpha_streak : alpha_field;
      } else if (j >= first_lit[i]) {
        word |= n7 == 0 ? alpha_rim_streak : alpha_rim_field;
      }
      std::memcpy(row + 4 * static_cast<std::size_t>(i), &word, 4);
      if (++n7 == 7) n7 = 0;
    }
    row_phase += row_step;
    if (row_phase >= 7) row_phase -= 7;
  }
}
