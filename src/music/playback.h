#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The state shared between the main thread and SDL2's audio thread. The main thread fills it
// completely while the device is still paused and touches it again only after the device is
// closed; in between only the audio thread reads and writes it, so no lock is needed.
struct PlaybackState {
  std::vector<std::int16_t> song;  // the pre-rendered mono song
  std::uint64_t read_index = 0;    // next sample to play
  bool playing = false;            // true while the song is being played
};

// Makes the song ready to play from its first sample.
void install_song(PlaybackState& state, std::vector<std::int16_t> song);

// Fills one output block: the next samples of the song scaled by 1/32767, silence once the
// song has ended. The song's last sample is never played. Allocates nothing, takes no lock.
void fill_block(PlaybackState& state, std::span<float> block);
