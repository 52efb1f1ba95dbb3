#include "base/wall_clock.h"

#include <ctime>

#include "base/fatal.h"

// clock_gettime is there on every platform the programs are built for: glibc, the browser's C
// library and MinGW's POSIX-threads layer, which reads the system's precise file time.
Instant read_wall_clock() {
  timespec now{};
  if (clock_gettime(CLOCK_REALTIME, &now) != 0) fatal();
  return Instant{static_cast<std::int64_t>(now.tv_sec), static_cast<std::int64_t>(now.tv_nsec)};
}
