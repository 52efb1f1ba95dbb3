#include "text/jitter.h"

#include <algorithm>
#include <array>
#include <random>
#include <utility>

#include "base/fatal.h"
#include "base/os_entropy.h"

namespace {
// Created on first use in the thread and seeded from the operating system's entropy, so the
// shake differs from run to run; only the main thread draws glyphs.
std::mt19937& generator() {
  thread_local std::mt19937 engine{[] {
    std::array<std::uint32_t, 8> entropy{};
    os_entropy(entropy);
    std::seed_seq seed(entropy.begin(), entropy.end());
    return std::mt19937{seed};
  }()};
  return engine;
}

thread_local std::vector<std::int32_t> held_values;
thread_local std::size_t next_held = 0;
}  // namespace

std::int32_t random_range(std::int32_t lo, std::int32_t hi) {
  // An empty range has no value to give.
  if (lo >= hi) fatal();
  if (!held_values.empty()) {
    const std::int32_t value = held_values[next_held];
    next_held = (next_held + 1) % held_values.size();
    return std::clamp(value, lo, hi - 1);
  }
  std::uniform_int_distribution<std::int32_t> distribution{lo, hi - 1};
  return distribution(generator());
}

void seed_jitter(std::uint64_t seed) {
  std::seed_seq sequence{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32)};
  generator().seed(sequence);
}

void hold_jitter(std::vector<std::int32_t> values) {
  held_values = std::move(values);
  next_held = 0;
}
