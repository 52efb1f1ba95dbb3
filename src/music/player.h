#pragma once

// The pattern player: turns the module into per-channel playback parameters one tick at a
// time. It makes no sound itself; the mixer reads the channels between ticks. Integer
// arithmetic throughout, no allocation.

#include <cstdint>
#include <span>
#include <variant>

#include "music/module.h"
#include "music/player_state.h"

// Output rates the player accepts. Above the highest, the slowest note would no longer move.
inline constexpr std::int64_t lowest_sample_rate = 8000;
inline constexpr std::int64_t highest_sample_rate = 768000;

// Builds the player of `image` at `sample_rate` frames per second, with position 0, row 0
// already applied. The player keeps views into `image`, which must outlive it. Refuses a rate
// outside 8000..768000 Hz and an image whose header, patterns or samples do not fit in it.
std::variant<Player, ModuleError> create_player(std::span<const std::uint8_t> image,
                                                std::int64_t sample_rate);

// One tick. True when the tick began a row at a song position not after the previous one: the
// song wrapped past its end or jumped back.
bool advance_tick(Player& player);
