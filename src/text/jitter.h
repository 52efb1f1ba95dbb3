#pragma once

#include <cstdint>
#include <optional>

// A uniform integer in [lo, hi) from this thread's generator, seeded from the operating
// system's entropy on first use: every run shakes differently.
std::int32_t random_range(std::int32_t lo, std::int32_t hi);

// For tests that need exact glyph positions: while a value is held, random_range on this
// thread returns it clamped into [lo, hi - 1] instead of drawing. std::nullopt releases it.
void hold_jitter(std::optional<std::int32_t> value);
