#include "app/frame_clock.h"

#include <cstdint>

std::optional<double> elapsed_seconds(Instant start, Instant now) {
  std::int64_t seconds = now.seconds - start.seconds;
  std::int64_t nanoseconds = now.nanoseconds - start.nanoseconds;
  if (nanoseconds < 0) {  // borrow one second
    seconds -= 1;
    nanoseconds += 1'000'000'000;
  }
  if (seconds < 0) return std::nullopt;
  // The millisecond count wraps at 2^32, about 49.7 days: far beyond the 114-second run.
  const auto milliseconds = static_cast<std::uint32_t>(static_cast<std::uint64_t>(seconds) * 1000u +
                                                       static_cast<std::uint64_t>(nanoseconds) / 1'000'000u);
  return static_cast<double>(milliseconds) / 1000.0;
}
