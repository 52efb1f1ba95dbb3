#include "scenes/motion.h"

#include <array>
#include <cmath>

#include "scenes/texts.h"

namespace {

// The scrollers move by 0.078125 W per second (50 px/s at the design width of 640).
constexpr double scroll_share = 0.078125;

struct Remark {
  std::string_view text;
  std::int32_t base_x;
  std::uint32_t above_bottom;
};

// In drawing order; on screen they read from the top: sorry, onsite, rest.
constexpr std::array<Remark, remark_count> remarks{{
    {remark_onsite, 18, 64},
    {remark_rest, 24, 32},
    {remark_sorry, 18, 96},
}};

}  // namespace

double marquee_start_pen(double t, std::uint32_t width) {
  return std::fmod(32.0 * (t - 18.0) + 18.0, static_cast<double>(width));
}

double marquee_next_pen(double pen, double advance, std::uint32_t width) {
  const auto w = static_cast<double>(width);
  pen += advance;
  if (pen > w) pen -= w;
  return pen;
}

std::string_view headline_text(double tau) { return tau + 0.75 < 33.0 ? first_headline : second_headline; }

std::int64_t typewriter_limit(double rate, double scene_time) {
  return static_cast<std::int64_t>(std::floor(rate * scene_time));
}

double block_start_pen(double tau, std::uint32_t width) {
  const auto w = static_cast<double>(width);
  return w - scroll_share * w * (tau - 2.0);
}

std::int32_t block_line_base_y(std::size_t line) { return 60 + 24 * static_cast<std::int32_t>(line); }

Font header_font(std::size_t index) {
  return index >= header_logo_first && index <= header_logo_last ? Font::logo : Font::main;
}

std::int32_t header_base_y(Font font) { return font == Font::logo ? 16 : 24; }

double greeting_row_start_pen(std::size_t row, double g, std::uint32_t width) {
  const auto w = static_cast<double>(width);
  return 90.0 * static_cast<double>(row) + w - scroll_share * w * (g - 4.0);
}

std::int32_t greeting_row_base_y(std::size_t row) { return 60 + 24 * static_cast<std::int32_t>(row); }

RemarkPlace remark_place(std::size_t index, std::uint32_t height) {
  const Remark& remark = remarks[index];
  // H - 64 and friends wrap like the 32-bit pixel counts they are; on a canvas lower than the
  // distance the line simply lies above the top edge.
  const auto base_y = static_cast<std::int32_t>(height - remark.above_bottom);
  return RemarkPlace{remark.text, remark.base_x, base_y};
}

std::string shown_greeting_row(std::size_t row) {
  std::string shown;
  const auto handles = greeting_rows[row];
  for (std::size_t i = 0; i < handles.size(); ++i) {
    if (i > 0) shown += handle_separator;
    shown += handles[i];
  }
  return shown;
}
