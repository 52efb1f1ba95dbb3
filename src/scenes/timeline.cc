#include "scenes/timeline.h"

#include <array>
#include <cstddef>

#include "scenes/scenes.h"

namespace {

struct ActScenes {
  std::array<Scene, 3> scenes;
  std::size_t count;
};

// The scenes of each act, in the order of the acts. The logo comes first so the wave backdrop
// covers it where the wave is opaque, and the marquee lies on top of both.
constexpr std::array<ActScenes, acts.size()> act_scenes{{
    {{draw_logo}, 1},
    {{draw_logo, draw_wave}, 2},
    {{draw_logo, draw_wave, draw_marquee}, 3},
    {{draw_scroller}, 1},
    {{draw_greetings}, 1},
    {{draw_logo}, 1},
}};

constexpr bool acts_tile_the_time_line() {
  double at = 0.0;
  for (const Act& act : acts) {
    if (act.from != at || !(act.until > act.from)) return false;
    at = act.until;
  }
  return true;
}
static_assert(acts_tile_the_time_line(), "each act begins where the one before it ends, the first at 0");

}  // namespace

std::span<const Scene> active_scenes(double t) {
  for (std::size_t k = 0; k < acts.size(); ++k) {
    if (t >= acts[k].from && t < acts[k].until) return {act_scenes[k].scenes.data(), act_scenes[k].count};
  }
  return {};
}
