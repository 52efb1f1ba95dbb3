#pragma once

#include <cstdint>

// The colour phase v climbs this many steps a second, from 0 to 255 and back.
inline constexpr double colour_phase_steps_per_second = 60.0;

// The time of one swing from an end of the phase to the other: v is 0 at even multiples of it
// and 255 at odd ones.
inline constexpr double colour_swing_seconds = 255.0 / colour_phase_steps_per_second;

// The colour phase v: a triangle wave over 0..255 with a period of 8.5 s (0 at t = 0,
// 255 at t = 4.25).
std::uint32_t colour_phase(double t);

// The frame's text colour 0xAABBGGRR: red v, green 64, blue 255 - v, alpha 255. Blue at
// v = 0, orange-red at v = 255.
std::uint32_t text_colour(double t);
