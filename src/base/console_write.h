#pragma once

#include <string_view>

// Writes one line to standard output under the process-wide stdout lock and flushes it. False
// when the write or the flush failed. Each platform has its own file.
bool write_console(std::string_view line);
