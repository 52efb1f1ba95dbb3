#pragma once

#include <cstdint>

// The colour phase v: a triangle wave over 0..255 with a period of 8.5 s (0 at t = 0,
// 255 at t = 4.25).
std::uint32_t colour_phase(double t);

// The frame's text colour 0xAABBGGRR: red v, green 64, blue 255 - v, alpha 255. Blue at
// v = 0, orange-red at v = 255.
std::uint32_t text_colour(double t);
