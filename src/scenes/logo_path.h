#pragma once

#include <cstdint>
#include <optional>

// Where the bouncing logo stands at t: pure arithmetic over the logo font's metrics.

inline constexpr double logo_margin = 16.0;
inline constexpr double logo_speed = 90.0;  // pixels per second along each axis
inline constexpr double logo_rest = 0.5;    // seconds the logo stands still at first

struct LogoPoint {
  std::int32_t x;
  std::int32_t y;
  bool operator==(const LogoPoint&) const = default;
};

// The logo's measured box: span = 16 + the sum of its advances (f64), height = the largest of
// 16 and every glyph's height + 16 (f32, as the sum was always taken).
struct LogoSize {
  double span;
  float height;
};

// The clock the logo's path runs on: t until 90 s, then t - 75, so the closing logo reappears
// where it stood at 15 s.
double logo_clock(double t);

// Measures the logo text in the logo font, glyph by glyph in text order.
LogoSize measure_logo();

// The logo's origin at t on a W x H canvas, or nothing while its clock is negative or not a
// number. Each axis is a triangle wave between the 16-pixel margin and the free range beyond
// it; a free range of exactly 0 makes the wave not-a-number, which lands at 0. An axis whose
// free range is negative (a canvas smaller than the logo and its margins) stays at the margin,
// so the logo rests in the top-left corner and the renderer clips what does not fit.
std::optional<LogoPoint> logo_origin(double t, std::uint32_t width, std::uint32_t height, LogoSize size);
