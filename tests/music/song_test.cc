// The embedded module, rendered whole at 48000 Hz.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "music/mixer.h"
#include "music/module_image.h"
#include "music/player.h"

namespace {

Player embedded_player() {
  auto result = create_player(module_image, 48000);
  if (!std::holds_alternative<Player>(result)) throw std::runtime_error("embedded module refused");
  return std::get<Player>(result);
}

}  // namespace

TEST(EmbeddedSong, ReadsAsTheModuleItIsMeantToBe) {
  const Player player = embedded_player();
  EXPECT_EQ(player.pattern_count, 6);
  EXPECT_EQ(player.sample_table[1].data.data(), module_image.data() + 7228);
  // Looped over 46 bytes, 92 of 94 bytes, 92 bytes; 4 and 6 one-shot; 5 and 7..31 silent.
  EXPECT_EQ(player.sample_table[1].loop_start, 0u);
  EXPECT_EQ(player.sample_table[1].loop_length, 46u << 14);
  EXPECT_EQ(player.sample_table[2].loop_length, 92u << 14);
  EXPECT_EQ(player.sample_table[3].loop_length, 92u << 14);
  EXPECT_EQ(player.sample_table[4].loop_start, 1148u << 14);
  EXPECT_EQ(player.sample_table[4].loop_length, 0u);
  EXPECT_EQ(player.sample_table[5].loop_start, 0u);
  EXPECT_EQ(player.sample_table[6].loop_start, 594u << 14);
  for (int k = 7; k < 32; ++k) EXPECT_EQ(player.sample_table[k].loop_start, 0u) << k;
  EXPECT_EQ(player.sample_table[31].data.size(), 0u);  // the data ends at the image's last byte
  // Row 0 set tempo 160 before the first frame.
  EXPECT_EQ(player.samples_per_tick, 750);
  EXPECT_EQ(player.speed, 6);
  EXPECT_EQ(player.ticks_left, 6);
}

TEST(EmbeddedSong, RendersToTheLengthTheChunkingPredicts) {
  Player player = embedded_player();
  Player shadow_player = player;
  std::vector<std::int16_t> stereo;
  std::array<std::int16_t, 4096> chunk;
  std::array<std::int16_t, 4096> solo;
  std::array<std::int32_t, 4096> wide;
  std::int64_t chunks = 0;
  for (;;) {
    chunk.fill(0);
    // The shadow mixes each channel alone and sums in 32 bits: equal to the 16-bit mix only
    // if no addition wrapped.
    wide.fill(0);
    std::int64_t offset = 0;
    while (offset < 2048) {
      const std::int64_t span =
          std::min(shadow_player.samples_per_tick - shadow_player.tick_position, 2048 - offset);
      for (std::int64_t c = 0; c < 4; ++c) {
        Player alone = shadow_player;
        alone.channel_count = 1;
        alone.channel_slots[0] = shadow_player.channel_slots[c];
        solo.fill(0);
        mix_span(alone, solo, offset, span);
        shadow_player.channel_slots[c].position = alone.channel_slots[0].position;
        for (std::size_t k = 0; k < solo.size(); ++k) wide[k] += solo[k];
      }
      shadow_player.tick_position += span;
      if (shadow_player.tick_position == shadow_player.samples_per_tick) {
        advance_tick(shadow_player);
        shadow_player.tick_position = 0;
      }
      offset += span;
    }

    ++chunks;
    const bool ok = render_chunk(player, chunk);
    for (std::size_t k = 0; k < chunk.size(); ++k) {
      ASSERT_EQ(chunk[k], wide[k]) << "chunk " << chunks << " value " << k;
    }
    if (!ok) break;
    stereo.insert(stereo.end(), chunk.begin(), chunk.end());
    ASSERT_LT(chunks, 3000);
  }
  EXPECT_EQ(chunks, 2672);  // the wrap is reported in the 2672nd chunk, which is discarded
  EXPECT_EQ(stereo.size(), 10'940'416u);
  const auto mono = downmix_to_mono(stereo);
  EXPECT_EQ(mono.size(), 5'470'208u);

  // render_song gives the same samples without keeping the stereo song.
  Player again = embedded_player();
  EXPECT_EQ(count_song_chunks(again), 2671);
  const auto song = render_song(again);
  ASSERT_EQ(song.size(), mono.size());
  EXPECT_TRUE(song == mono);
  // Music starts on the first frame and is not silent overall.
  EXPECT_GT(std::count_if(song.begin(), song.end(), [](std::int16_t v) { return v != 0; }), 4'000'000);
}

TEST(EmbeddedSong, WrapsAfterNineteenPositionsOfSixtyFourRows) {
  Player player = embedded_player();
  // 5,472,000 frames: 19 x 64 rows x 6 ticks x 750 frames, counted from the first frame.
  std::int64_t frames = player.samples_per_tick;
  std::int64_t rows = 1;
  for (;;) {
    const std::int64_t ticks_left = player.ticks_left;
    const bool wrapped = advance_tick(player);
    if (ticks_left == 1) ++rows;
    if (wrapped) break;
    frames += player.samples_per_tick;
    ASSERT_LT(rows, 19 * 64 + 2);
  }
  EXPECT_EQ(frames, 5'472'000);
  EXPECT_EQ(rows, 19 * 64 + 1);
  EXPECT_EQ(player.song_position, 0);
  EXPECT_EQ(player.row, 0);
}
