// rand_s is declared only when this is defined before the C runtime's header.
#define _CRT_RAND_S
#include <stdlib.h>

#include <cstdint>
#include <span>

#include "base/fatal.h"
#include "base/os_entropy.h"

// rand_s draws from the system's generator (RtlGenRandom), one word per call.
void os_entropy(std::span<std::uint32_t> words) {
  for (std::uint32_t& word : words) {
    unsigned int value = 0;
    if (rand_s(&value) != 0) fatal();
    word = value;
  }
}
