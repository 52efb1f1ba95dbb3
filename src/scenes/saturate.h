#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// A whole-valued f64 as an i32, held at the type's bounds; not-a-number becomes 0.
inline std::int32_t saturate_to_i32(double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
    return std::numeric_limits<std::int32_t>::min();
  }
  if (value >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(value);
}
