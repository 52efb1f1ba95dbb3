#pragma once

#include <array>
#include <limits>
#include <span>
#include <string_view>

#include "scenes/frame.h"

using Scene = void (*)(const Frame&);

// One act: the same scenes are drawn from `from` (inclusive) until `until` (exclusive). Tests
// and measuring tools ask for these boundaries instead of repeating them.
struct Act {
  std::string_view name;
  double from;
  double until;
};

// The acts in order; they tile the time line from 0 on, and the last one never ends (the
// frame loop stops the run).
inline constexpr std::array<Act, 6> acts{{
    {"logo", 0.0, 12.0},
    {"logo + wave", 12.0, 18.0},
    {"logo + wave + marquee", 18.0, 30.0},
    {"scroller", 30.0, 63.0},
    {"greetings", 63.0, 90.0},
    {"closing logo", 90.0, std::numeric_limits<double>::infinity()},
}};

// The scenes active at t, in drawing order.
std::span<const Scene> active_scenes(double t);
