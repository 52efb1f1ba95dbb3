#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <stdexcept>
#include <string_view>

#include "app/frame_clock.h"
#include "scenes/colour_phase.h"
#include "scenes/timeline.h"

// Moments of the program's timeline that the tests, the benchmarks and the measuring tools use,
// derived from the acts so that none of them repeats a boundary.

// The act's end; the last act, which never ends, ends with the run.
constexpr double act_end(const Act& act) { return std::min(act.until, run_limit_seconds); }

// A moment in the middle of the act, where its scenes are well under way.
constexpr double act_middle(const Act& act) { return (act.from + act_end(act)) / 2; }

constexpr std::size_t act_named(std::string_view name) {
  for (std::size_t k = 0; k < acts.size(); ++k) {
    if (acts.at(k).name == name) return k;
  }
  throw std::invalid_argument("no act of that name");
}

// The moments the screenshot tests shoot, derived from the acts and the colour phase. Each shot
// is taken just before the phase reaches an end of its swing, so the mirrored phase is far from
// the true one; the moment of another act that the shot must differ from is an end of a swing
// in the same direction, so the two share the phase and only the act tells them apart.

// How long before the end of its swing a shot is taken: the screenshot lands a few frames
// later, still on the same side of the end.
inline constexpr double shot_lead_seconds = 0.1;

struct ShotPlan {
  std::string_view name;
  int width;  // the window's size when the shot is taken
  int height;
  std::string_view act;  // the shot: the ordinal-th end of a swing inside this act
  int ordinal;
  std::string_view other_act;  // the other act's moment: the other_ordinal-th end of a swing in
  int other_ordinal;           // the shot's direction inside other_act
};

struct ShotMoment {
  std::string_view name;
  int width;
  int height;
  double t;
  double other_t;
};

// The ordinal-th (from 1) swing end k * colour_swing_seconds inside the act with room for the
// lead before it, counting only ends of the given parity of k when parity is 0 or 1.
constexpr int swing_end_in_act(const Act& act, int ordinal, int parity) {
  int seen = 0;
  for (int k = 1; k * colour_swing_seconds < act.until; ++k) {
    const double end = k * colour_swing_seconds;
    if (end - shot_lead_seconds < act.from || (parity >= 0 && k % 2 != parity)) continue;
    if (++seen == ordinal) return k;
  }
  throw std::invalid_argument("the act has no such end of a swing");
}

constexpr ShotMoment shot_moment(const ShotPlan& plan) {
  const Act& act = acts.at(act_named(plan.act));
  const int k = swing_end_in_act(act, plan.ordinal, -1);
  const int other = swing_end_in_act(acts.at(act_named(plan.other_act)), plan.other_ordinal, k % 2);
  const double t = k * colour_swing_seconds - shot_lead_seconds;
  if (plan.act == plan.other_act || t < act.from || t >= act.until)
    throw std::invalid_argument("not a shot inside its act");
  return {plan.name, plan.width, plan.height, t, other * colour_swing_seconds};
}

// In the order they are taken; the window is resized whenever the size changes.
inline constexpr std::array<ShotPlan, 9> shot_plans{{
    // Logo alone, bouncing; orange.
    {"logo", 640, 400, "logo", 1, "scroller", 1},
    // The wave uncovered on the right half; blue.
    {"wave_reveal", 640, 400, "logo + wave", 2, "logo + wave + marquee", 1},
    // Logo, full wave and marquee; orange.
    {"marquee", 640, 400, "logo + wave + marquee", 1, "scroller", 2},
    // The wave fills the window, the marquee at its foot; blue.
    {"marquee_800x600", 800, 600, "logo + wave + marquee", 2, "scroller", 2},
    // Headline typed, block entering the wider window; orange.
    {"scroller_800x600", 800, 600, "scroller", 2, "logo", 1},
    // Back to the design size; orange.
    {"scroller_shrunk", 640, 400, "scroller", 4, "greetings", 2},
    // Header typed, first row entering; blue.
    {"greetings", 640, 400, "greetings", 2, "scroller", 2},
    // Bottom lines near the window's foot; orange.
    {"greetings_800x600", 800, 600, "greetings", 3, "scroller", 2},
    // The logo alone again, bouncing in the wider window; blue.
    {"closing_logo_800x600", 800, 600, "closing logo", 1, "greetings", 2},
}};

inline constexpr std::array<ShotMoment, shot_plans.size()> shot_moments = [] {
  std::array<ShotMoment, shot_plans.size()> moments{};
  for (std::size_t k = 0; k < shot_plans.size(); ++k) moments.at(k) = shot_moment(shot_plans.at(k));
  return moments;
}();
