#pragma once

// A channel's voice: triggering the note of its cell, and deriving what the mixer reads
// (increment and amplitude) from the period, the volume and their modulations.

#include "music/player_state.h"

// Triggers the channel's current note: sample, volume, finetune, period and play position.
void start_note(const Player& player, Channel& channel);

// Derives increment and amplitude from period, vibrato, arpeggio, volume and tremolo.
void update_pitch_and_gain(const Player& player, Channel& channel);
