#pragma once

// The state of the pattern player: one record per channel slot and the player's own record.
// The player, its effects, its oscillator and the mixer all work on these records.

#include <array>
#include <cstdint>
#include <span>

#include "music/module.h"

struct Channel {
  std::uint64_t start_offset = 0;  // byte offset at which the next triggered note starts
  std::uint64_t position = 0;      // play position, 14 fraction bits
  std::uint64_t increment = 0;     // position advance per output frame, 14 fraction bits
  Note note;                       // the cell of the current row
  std::uint16_t period = 0;
  std::uint16_t target_period = 0;   // tone-portamento target; the tuned period of the last note
  std::uint8_t volume = 0;           // 0..64
  std::uint8_t panning = 0;          // 0 left .. 127 right
  std::uint8_t finetune = 0;         // finetune table index, 8 = untuned
  std::uint8_t amplitude = 0;        // mixing amplitude 0..128
  std::uint8_t index = 0;            // the slot's own number
  std::uint8_t current_sample = 0;   // sample the mixer plays; 0 = silent
  std::uint8_t assigned_sample = 0;  // last instrument number read
  std::uint8_t porta_speed = 0;
  std::uint8_t loop_row = 0;      // start row of this channel's pattern loop
  std::uint8_t effect_ticks = 0;  // ticks since the row, wraps at 256
  std::uint8_t vibrato_shape = 0, vibrato_phase = 0, vibrato_speed = 0, vibrato_depth = 0;
  std::uint8_t tremolo_shape = 0, tremolo_phase = 0, tremolo_speed = 0, tremolo_depth = 0;
  std::int8_t tremolo_offset = 0;  // signed volume offset
  std::int8_t vibrato_offset = 0;  // signed period offset
  std::uint8_t arpeggio_step = 0;  // semitones 0..15
};

struct Player {
  std::array<Sample, 32> sample_table{};
  std::span<const std::uint8_t> sequence;  // the image from the order list to its end
  std::span<const std::uint8_t> patterns;  // the image from the pattern data to its end
  std::int64_t pattern_count = 0;
  std::int64_t channel_count = 4;
  std::int64_t song_length = 19;
  std::int64_t sample_rate = 0;
  std::array<Channel, 16> channel_slots{};
  std::int64_t gain = 64;
  std::int64_t reference_rate = 8287;  // rate at which period 428 plays a sample
  std::int64_t samples_per_tick = 0;
  std::int64_t tick_position = 0;  // frames already rendered in the current tick
  std::int64_t song_position = 0;
  std::int64_t next_song_position = 0;  // -1: none pending
  std::int64_t row = 0;
  std::int64_t next_row = 0;  // -1: after the last row of a pattern
  std::int64_t ticks_left = 1;
  std::int64_t speed = 6;
  std::int64_t loop_count = -1;        // remaining repeats of the running pattern loop, -1: none
  std::int64_t loop_channel = -1;      // index of the channel owning the loop, -1: none
  std::int64_t noise_seed = 0xABCDEF;  // random LFO waveform, shared by every channel
};

// samples_per_tick for a tempo in beats per minute (32..255): a tick lasts 2.5 / tempo seconds.
constexpr std::int64_t samples_per_tick_at(std::int64_t sample_rate, std::int64_t tempo) {
  return (sample_rate / 2 + 2 * sample_rate) / tempo;
}
