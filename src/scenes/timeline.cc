#include "scenes/timeline.h"

#include <array>
#include <cstddef>
#include <limits>

#include "scenes/scenes.h"

namespace {

struct TimelineRow {
  double from;   // inclusive
  double until;  // exclusive
  std::array<Scene, 3> scenes;
  std::size_t count;
};

constexpr double forever = std::numeric_limits<double>::infinity();

// The logo comes first so the wave backdrop covers it where the wave is opaque, and the
// marquee lies on top of both.
constexpr std::array<TimelineRow, 6> timeline{{
    {0.0, 12.0, {draw_logo}, 1},
    {12.0, 18.0, {draw_logo, draw_wave}, 2},
    {18.0, 30.0, {draw_logo, draw_wave, draw_marquee}, 3},
    {30.0, 63.0, {draw_scroller}, 1},
    {63.0, 90.0, {draw_greetings}, 1},
    {90.0, forever, {draw_logo}, 1},
}};

}  // namespace

std::span<const Scene> active_scenes(double t) {
  for (const TimelineRow& row : timeline) {
    if (t >= row.from && t < row.until) return {row.scenes.data(), row.count};
  }
  return {};
}
