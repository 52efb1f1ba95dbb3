#pragma once

#include <string>

// The console time line: "Time: ", t in its shortest round-trip fixed notation, the cursor-
// preceding-line control ESC [F and a line feed, so a terminal shows one running line.
std::string console_time_line(double t);

// Writes the line to standard output under the stdout lock and flushes it; a failed write is
// fatal.
void write_console_line(double t);
