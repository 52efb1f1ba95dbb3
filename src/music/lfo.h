#pragma once

// The low-frequency oscillator behind vibrato and tremolo.

#include <cstdint>

#include "music/player_state.h"

// The waveform value at `phase` for `shape` & 3: sine -255..255, saw down -249..255, square
// 255 / -257, random -255..256 (which advances the player's one noise seed).
std::int64_t lfo_value(std::int64_t& noise_seed, std::uint8_t phase, std::uint8_t shape);

// vibrato_offset from the vibrato phase, shape and depth (-31..30).
void apply_vibrato(Player& player, Channel& channel);

// tremolo_offset from the tremolo phase, shape and depth (-61..60).
void apply_tremolo(Player& player, Channel& channel);
