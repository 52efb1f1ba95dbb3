#include "scenes/logo_path.h"

#include <algorithm>
#include <cmath>

#include "scenes/saturate.h"
#include "scenes/texts.h"
#include "text/font.h"
#include "text/utf8.h"

namespace {

// One axis of the bounce: distance s folded into [0, range] and back, then rounded (halves
// away from zero) and held to the i32 range.
std::int32_t bounce(double s, double range) {
  if (range < 0.0) return static_cast<std::int32_t>(logo_margin);
  double p = std::fmod(s, 2.0 * range);
  if (p > range) p = 2.0 * range - p;
  return saturate_to_i32(std::round(p + logo_margin));
}

}  // namespace

double logo_clock(double t) { return t < 90.0 ? t : t - 75.0; }

LogoSize measure_logo() {
  LogoSize size{logo_margin, static_cast<float>(logo_margin)};
  TextCursor cursor{logo_text.data(), logo_text.data() + logo_text.size()};
  for (std::uint32_t c = next_code_point(cursor); c != end_of_text; c = next_code_point(cursor)) {
    const Glyph glyph = logo_font_glyph(c);
    size.span += glyph.advance;
    size.height = std::max(size.height, static_cast<float>(glyph.height) + 16.0f);
  }
  return size;
}

std::optional<LogoPoint> logo_origin(double t, std::uint32_t width, std::uint32_t height, LogoSize size) {
  const double clock = logo_clock(t);
  if (!(clock >= 0.0)) return std::nullopt;  // negative or not a number
  if (clock <= logo_rest) return LogoPoint{16, 16};
  const double range_x = static_cast<double>(width) - (size.span + logo_margin);
  const double range_y = static_cast<double>(height) - static_cast<double>(size.height + 16.0f);
  const double s = (clock - logo_rest) * logo_speed;
  return LogoPoint{bounce(s, range_x), bounce(s, range_y)};
}
