#include <cerrno>
#include <ctime>

#include "base/fatal.h"
#include "base/frame_pause.h"

void frame_pause() {
  timespec request{0, 83'333};
  timespec remaining{};
  while (nanosleep(&request, &remaining) != 0) {
    if (errno != EINTR) fatal();
    request = remaining;
  }
}
