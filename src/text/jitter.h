#pragma once

#include <cstdint>
#include <optional>

// A uniform integer in [lo, hi) from this thread's generator, seeded from the operating
// system's entropy on first use: every run shakes differently.
std::int32_t random_range(std::int32_t lo, std::int32_t hi);

// Seeds this thread's generator, so that the same seed gives the same shake again: an offline
// capture seeds it before each frame it draws.
void seed_jitter(std::uint64_t seed);

// For tests that need exact glyph positions: while a value is held, random_range on this
// thread returns it clamped into [lo, hi - 1] instead of drawing. std::nullopt releases it.
void hold_jitter(std::optional<std::int32_t> value);
