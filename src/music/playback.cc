#include "music/playback.h"

#include <algorithm>
#include <utility>

void install_song(PlaybackState& state, std::vector<std::int16_t> song) {
  state.song = std::move(song);
  state.read_index = 0;
  state.playing = true;
}

void fill_block(PlaybackState& state, std::span<float> block) {
  const std::uint64_t n = block.size();
  if (!state.playing || state.song.empty()) {
    // An empty song has no last sample to stop before: it has ended before it began.
    state.playing = false;
    std::fill(block.begin(), block.end(), 0.0f);
    return;
  }
  const std::uint64_t last = state.song.size() - 1;
  const std::uint64_t begin = state.read_index;
  const std::uint64_t end = std::min(last, begin + n);
  const std::uint64_t copied = end - begin;
  for (std::uint64_t k = 0; k < copied; ++k) {
    block[k] = static_cast<float>(state.song[begin + k]) / 32767.0f;
  }
  state.read_index = end;
  // The end test uses this call's block length, whatever SDL2 chose for it.
  if (begin + n >= last) {
    state.read_index = 0;
    state.playing = false;
    // The rest of the final block is silence rather than whatever the buffer held.
    std::fill(block.begin() + static_cast<std::ptrdiff_t>(copied), block.end(), 0.0f);
  }
}
