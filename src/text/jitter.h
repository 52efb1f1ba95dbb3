#pragma once

#include <cstdint>
#include <vector>

// A uniform integer in [lo, hi) from this thread's generator, seeded from the operating
// system's entropy on first use: every run shakes differently.
std::int32_t random_range(std::int32_t lo, std::int32_t hi);

// Seeds this thread's generator, so that the same seed gives the same shake again: an offline
// capture seeds it before each frame it draws.
void seed_jitter(std::uint64_t seed);

// For tests that need exact glyph positions: while values are held, random_range on this
// thread returns them in turn, starting again after the last, each clamped into [lo, hi - 1],
// instead of drawing. An empty list releases them.
void hold_jitter(std::vector<std::int32_t> values);
