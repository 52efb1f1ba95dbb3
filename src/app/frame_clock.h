#pragma once

#include <optional>

#include "base/wall_clock.h"

// The frame loop's time keeping: the elapsed time t in whole milliseconds that every scene is a
// pure function of.

inline constexpr double run_limit_seconds = 114.0;
inline constexpr double first_frame_seconds = 0.001;

// Seconds from start to now in whole milliseconds, formed modulo 2^32 as the loop has always
// done. Empty when now lies before start (the wall clock was set back).
std::optional<double> elapsed_seconds(Instant start, Instant now);

// t = 114.0 is still drawn; the first pass past it ends the run without drawing.
constexpr bool past_run_limit(double t) { return t > run_limit_seconds; }
