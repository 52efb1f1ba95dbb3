#include "base/fatal.h"

#include <cstdlib>

void fatal() {
  // _Exit skips atexit handlers and static destructors, so no SDL2 teardown runs while the
  // audio thread may still be inside the callback.
  std::_Exit(EXIT_FAILURE);
}
