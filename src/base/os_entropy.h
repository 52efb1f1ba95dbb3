#pragma once

#include <cstdint>
#include <span>

// Fills words from the operating system's entropy source; a source that cannot be read is
// fatal. Each platform has its own file.
void os_entropy(std::span<std::uint32_t> words);
