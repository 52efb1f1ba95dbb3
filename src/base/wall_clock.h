#pragma once

#include <cstdint>

// One reading of the wall clock (CLOCK_REALTIME): the start instant and every frame's time are
// taken from it.
struct Instant {
  std::int64_t seconds;
  std::int64_t nanoseconds;  // 0 .. 999 999 999
};

// A failed read is fatal.
Instant read_wall_clock();
