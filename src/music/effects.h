#pragma once

// Effect actions of the pattern player: what a cell's effect does on its row and on the
// ticks between rows.

#include <cstdint>

#include "music/player_state.h"

// The row action of channel.note's effect, after the note was triggered.
void run_row_action(Player& player, Channel& channel);

// The tick action of channel.note's effect; `n` is effect_ticks after its increment.
void run_tick_action(Player& player, Channel& channel, std::uint8_t n);
