#include "scenes/console_line.h"

#include "base/console_write.h"
#include "base/fatal.h"
#include "scenes/shortest_fixed.h"

std::string console_time_line(double t) {
  // Fixed notation, shortest digits that read back as the same double: 30.0 -> "30",
  // 12.5 -> "12.5", never an exponent.
  std::string line = "Time: ";
  line.append(shortest_fixed(t));
  line.append("\x1b[F\n");
  return line;
}

void write_console_line(double t) {
  if (!write_console(console_time_line(t))) fatal();
}
