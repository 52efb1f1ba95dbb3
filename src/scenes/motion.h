#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/font.h"

// Where the moving and typed texts stand at t: pure arithmetic, no drawing.

// Marquee: the first character's pen, 18 at 18 s, moving right at 32 px/s, taken modulo W.
double marquee_start_pen(double t, std::uint32_t width);
// The next character's pen: after each advance a pen beyond W continues from the left edge.
double marquee_next_pen(double pen, double advance, std::uint32_t width);

// Scroller, at scene time tau = t - 30.
std::string_view headline_text(double tau);
// The typewriter limit: floor(rate x scene time) (limit + 1 characters show).
std::int64_t typewriter_limit(double rate, double scene_time);
inline constexpr double headline_rate = 9.5;
// The block's start pen: at the right edge at tau = 2, moving left at W / 12.8 px/s.
double block_start_pen(double tau, std::uint32_t width);
std::int32_t block_line_base_y(std::size_t line);

// Greetings, at scene time g = t - 63.
inline constexpr double greetings_rate = 10.75;
// The group's name inside the header is set in the logo font, 8 pixels higher.
Font header_font(std::size_t index);
std::int32_t header_base_y(Font font);
// Row r enters at the right edge at g = 4, each row 90 pixels after the one above.
double greeting_row_start_pen(std::size_t row, double g, std::uint32_t width);
std::int32_t greeting_row_base_y(std::size_t row);
// Row r as shown: its handles three spaces apart, none at the ends.
std::string shown_greeting_row(std::size_t row);
inline constexpr std::size_t greeting_row_count = 4;
// The remarks keep their distance from the bottom edge, in 32-bit wrapping arithmetic.
struct RemarkPlace {
  std::string_view text;
  std::int32_t base_x;
  std::int32_t base_y;
};
RemarkPlace remark_place(std::size_t index, std::uint32_t height);
inline constexpr std::size_t remark_count = 3;
