#include "scenes/console_line.h"

#include <array>
#include <charconv>

#include "base/console_write.h"
#include "base/fatal.h"

std::string console_time_line(double t) {
  // Fixed notation, shortest digits that read back as the same double: 30.0 -> "30",
  // 12.5 -> "12.5", never an exponent.
  std::array<char, 400> digits;
  const auto [end, error] =
      std::to_chars(digits.data(), digits.data() + digits.size(), t, std::chars_format::fixed);
  if (error != std::errc{}) fatal();
  std::string line = "Time: ";
  line.append(digits.data(), end);
  line.append("\x1b[F\n");
  return line;
}

void write_console_line(double t) {
  if (!write_console(console_time_line(t))) fatal();
}
