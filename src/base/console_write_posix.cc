#include <cstdio>

#include "base/console_write.h"

bool write_console(std::string_view line) {
  flockfile(stdout);
  const bool ok =
      fwrite_unlocked(line.data(), 1, line.size(), stdout) == line.size() && fflush_unlocked(stdout) == 0;
  funlockfile(stdout);
  return ok;
}
