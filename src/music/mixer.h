#pragma once

// The mixer and the song pre-render: drives the player tick by tick, mixes its channels into
// 2048-frame stereo chunks of 16-bit values and averages them to one mono song.

#include <cstdint>
#include <span>
#include <vector>

#include "music/player.h"

inline constexpr std::int64_t chunk_frames = 2048;
inline constexpr std::size_t chunk_values = 4096;  // interleaved left, right

// A song that has not wrapped after this long is cut here, so no module can make the
// pre-render run without end.
inline constexpr std::int64_t longest_song_seconds = std::int64_t{30} * 60;

// Renders the whole song, up to the chunk in which the player reports the wrap (that chunk is
// discarded whole), and returns it in mono at the player's rate.
std::vector<std::int16_t> render_song(Player& player);

// Mixes one chunk, advancing the player whenever a tick's frames are done. False when the wrap
// was reported during the chunk; the chunk is filled to its end either way.
bool render_chunk(Player& player, std::span<std::int16_t, 4096> chunk);

// Adds every played channel's contribution to frames first_frame .. first_frame + frame_count
// - 1 of the chunk, with 16-bit wrapping additions and no interpolation.
void mix_span(Player& player, std::span<std::int16_t, 4096> chunk, std::int64_t first_frame,
              std::int64_t frame_count);

// mono[k] = (left + right) / 2, truncated toward zero.
std::vector<std::int16_t> downmix_to_mono(std::span<const std::int16_t> stereo);

// The number of chunks render_song keeps, found by running a copy of the player's ticks
// without mixing. Lets the song be reserved in one allocation.
std::int64_t count_song_chunks(const Player& player);
