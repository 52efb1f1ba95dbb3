#include <unistd.h>

#include <cstdint>
#include <span>

#include "base/fatal.h"
#include "base/os_entropy.h"

// getentropy reads the kernel's generator (getrandom on Linux, the page's crypto source in the
// browser), restarts itself when a signal interrupts it and gives at most 256 bytes a call. It
// needs nothing newer than glibc 2.25, unlike std::random_device, whose glibc build reaches for
// arc4random (glibc 2.36) and so raises the glibc a portable build needs.
void os_entropy(std::span<std::uint32_t> words) {
  if (getentropy(words.data(), words.size_bytes()) != 0) fatal();
}
