#include "scenes/colour_phase.h"

#include <algorithm>
#include <cmath>

std::uint32_t colour_phase(double t) {
  const double q = std::round(std::fmod(colour_phase_steps_per_second * t, 510.0));  // halves away from zero
  const double u = q <= 255.0 ? q : 510.0 - q;
  return static_cast<std::uint32_t>(std::clamp(u, 0.0, 255.0));
}

std::uint32_t text_colour(double t) {
  const std::uint32_t v = colour_phase(t);
  return v | ((255u - v) << 16) | 0xFF004000u;
}
