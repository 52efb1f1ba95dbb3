#include "music/mixer.h"

#include <algorithm>
#include <array>

namespace {

// Two's-complement 16-bit addition: the mix wraps, it never saturates.
inline std::int16_t add_wrapping(std::int16_t into, std::int32_t value) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(into) + static_cast<std::uint16_t>(value));
}

inline void downmix_into(std::span<const std::int16_t> stereo, std::int16_t* mono) {
  for (std::size_t k = 0; k < stereo.size() / 2; ++k) {
    // The sum is taken in 32 bits; the division truncates toward zero.
    mono[k] = static_cast<std::int16_t>((std::int32_t{stereo[2 * k]} + stereo[2 * k + 1]) / 2);
  }
}

}  // namespace

void mix_span(Player& player, std::span<std::int16_t, 4096> chunk, std::int64_t first_frame,
              std::int64_t frame_count) {
  std::int16_t* const out = chunk.data();
  for (std::int64_t c = 0; c < player.channel_count; ++c) {
    Channel& channel = player.channel_slots[c];
    const Sample& sample = player.sample_table[channel.current_sample & 31];
    const std::uint64_t loop_end = sample.loop_start + sample.loop_length;
    const std::uint64_t loop_length = sample.loop_length;
    // Every position below loop_end indexes inside the sample's view: the reader refuses
    // samples that do not fit in the image.
    const auto* data = reinterpret_cast<const std::int8_t*>(sample.data.data());
    const std::int32_t a = channel.amplitude;
    const std::int32_t gl = (a * (127 - channel.panning)) >> 5;
    const std::int32_t gr = (a * channel.panning) >> 5;
    const std::uint64_t increment = channel.increment;

    std::int64_t i = first_frame * 2;
    const std::int64_t end = (first_frame + frame_count) * 2;
    std::uint64_t pos = channel.position;
    while (i < end) {
      if (pos >= loop_end) {
        // Loop lengths are 0 or at least 4 bytes, so this is a one-shot sample at its end.
        if (loop_length <= 16384) {
          pos = loop_end;
          break;
        }
        // Back by whole loop lengths, keeping the phase; usually a single step.
        pos -= loop_length;
        if (pos >= loop_end) pos = sample.loop_start + (pos - sample.loop_start) % loop_length;
      }
      std::uint64_t epos = pos + static_cast<std::uint64_t>((end - i) / 2) * increment;
      if (gl == 0 && gr == 0) {
        // A silent channel moves on unclamped; a later span's wrap brings it back.
        pos = epos;
        break;
      }
      if (increment == 0) break;  // a standing position would never reach the span's end
      epos = std::min(epos, loop_end);
      if (gl != 0 && gr != 0) {
        while (pos < epos) {
          // NOLINTNEXTLINE(bugprone-signed-char-misuse): sample bytes are signed, as the module stores them
          const std::int32_t v = data[pos >> 14];
          out[i] = add_wrapping(out[i], (v * gl) >> 2);  // arithmetic shifts
          out[i + 1] = add_wrapping(out[i + 1], (v * gr) >> 2);
          i += 2;
          pos += increment;
        }
      } else {
        // One side only: the level is the amplitude itself, not the side's gain.
        std::int64_t j = gr != 0 ? i + 1 : i;
        while (pos < epos) {
          out[j] = add_wrapping(out[j], data[pos >> 14] * a);
          j += 2;
          pos += increment;
        }
        i = j & ~std::int64_t{1};
      }
    }
    channel.position = pos;
  }
}

bool render_chunk(Player& player, std::span<std::int16_t, 4096> chunk) {
  bool ok = true;
  std::int64_t offset = 0;
  std::int64_t count = chunk_frames;
  while (count > 0) {
    // Read anew for every span, so a tempo change takes effect with the tick that makes it.
    const std::int64_t span = std::min(player.samples_per_tick - player.tick_position, count);
    mix_span(player, chunk, offset, span);
    player.tick_position += span;
    if (player.tick_position >= player.samples_per_tick) {
      if (advance_tick(player)) ok = false;
      player.tick_position = 0;
    }
    offset += span;
    count -= span;
  }
  return ok;
}

std::int64_t count_song_chunks(const Player& player) {
  const std::int64_t longest_frames = longest_song_seconds * player.sample_rate;
  Player ticks = player;
  std::int64_t frames = ticks.samples_per_tick - ticks.tick_position;
  while (!advance_tick(ticks) && frames < longest_frames) frames += ticks.samples_per_tick;
  // The chunk in which the wrap is reported is discarded.
  const std::int64_t chunks = (std::min(frames, longest_frames) + chunk_frames - 1) / chunk_frames - 1;
  return std::max<std::int64_t>(chunks, 0);
}

std::vector<std::int16_t> render_song(Player& player) {
  const std::int64_t kept_chunks = count_song_chunks(player);
  std::vector<std::int16_t> mono(static_cast<std::size_t>(kept_chunks * chunk_frames));
  std::array<std::int16_t, chunk_values> chunk;
  // Each kept chunk is averaged to mono as soon as it is known to be kept: the result is that
  // of downmixing the whole stereo song, without holding the stereo song in memory.
  for (std::int64_t k = 0; k < kept_chunks; ++k) {
    chunk.fill(0);
    if (!render_chunk(player, chunk)) {
      mono.resize(static_cast<std::size_t>(k * chunk_frames));
      break;
    }
    downmix_into(chunk, mono.data() + k * chunk_frames);
  }
  // The chunk that reports the wrap is rendered, so the player ends where the song ends, and
  // then discarded whole, frames from before the wrap included.
  chunk.fill(0);
  render_chunk(player, chunk);
  return mono;
}

std::vector<std::int16_t> downmix_to_mono(std::span<const std::int16_t> stereo) {
  std::vector<std::int16_t> mono(stereo.size() / 2);
  downmix_into(stereo, mono.data());
  return mono;
}
