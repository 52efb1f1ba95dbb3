#include "music/mixer.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <vector>

#include "music/module_builder.h"

namespace {

using Chunk = std::array<std::int16_t, 4096>;

// Sample 1: 100 bytes counting 0..99, looped over bytes 20..60. Sample 2: 100 bytes of 10,
// one-shot. Sample 3: 100 bytes of 127, looped whole. Sample 4: 100 bytes of -1, looped whole.
std::vector<std::uint8_t> mixer_module(std::vector<TestCell> cells = {}) {
  std::vector<std::int8_t> counting(100);
  std::iota(counting.begin(), counting.end(), std::int8_t{0});
  TestModule module;
  module.samples = {test_sample(1, 50, 10, 20, counting),
                    test_sample(2, 50, 0, 1, std::vector<std::int8_t>(100, 10)),
                    test_sample(3, 50, 0, 50, std::vector<std::int8_t>(100, 127)),
                    test_sample(4, 50, 0, 50, std::vector<std::int8_t>(100, -1))};
  module.cells = std::move(cells);
  return build_module(module);
}

// A player whose channels are all silent, and channel 0 set up to play `sample`.
Channel& play_on_zero(Player& player, std::uint8_t sample, std::uint8_t amplitude, std::uint8_t panning,
                      std::uint64_t position = 0) {
  Channel& channel = player.channel_slots[0];
  channel.current_sample = sample;
  channel.amplitude = amplitude;
  channel.panning = panning;
  channel.position = position;
  channel.increment = 1 << 14;  // one sample byte per frame
  return channel;
}

std::int16_t left(const Chunk& chunk, int frame) { return chunk[2 * static_cast<std::size_t>(frame)]; }
std::int16_t right(const Chunk& chunk, int frame) { return chunk[2 * static_cast<std::size_t>(frame) + 1]; }

}  // namespace

TEST(MixSpan, TheEmptySampleAddsNothingAndHoldsAtZero) {
  const auto image = mixer_module();
  Player player = make_player(image);
  play_on_zero(player, 0, 128, 0, 12345);
  Chunk chunk{};
  mix_span(player, chunk, 0, 2048);
  EXPECT_TRUE(std::all_of(chunk.begin(), chunk.end(), [](std::int16_t v) { return v == 0; }));
  EXPECT_EQ(player.channel_slots[0].position, 0u);
}

TEST(MixSpan, AOneShotSampleEndsAndStaysSilent) {
  const auto image = mixer_module();
  Player player = make_player(image);
  Channel& channel = play_on_zero(player, 2, 64, 0);
  Chunk chunk{};
  mix_span(player, chunk, 0, 1000);
  // The one-sided path multiplies by the amplitude itself.
  for (int f = 0; f < 100; ++f) ASSERT_EQ(left(chunk, f), 10 * 64) << f;
  for (int f = 100; f < 2048; ++f) ASSERT_EQ(left(chunk, f), 0) << f;
  for (int f = 0; f < 2048; ++f) ASSERT_EQ(right(chunk, f), 0) << f;
  EXPECT_EQ(channel.position, 100u << 14);
  mix_span(player, chunk, 1000, 1048);
  for (int f = 100; f < 2048; ++f) ASSERT_EQ(left(chunk, f), 0) << f;
  EXPECT_EQ(channel.position, 100u << 14);
}

TEST(MixSpan, ALoopedSampleComesBackByWholeLoopsKeepingItsPhase) {
  const auto image = mixer_module();
  Player player = make_player(image);
  // Five loop lengths and 7 bytes past the loop start: plays byte 27 first.
  Channel& channel = play_on_zero(player, 1, 1, 127, (20 + 40 * 5 + 7) << 14);
  Chunk chunk{};
  mix_span(player, chunk, 0, 100);
  for (int f = 0; f < 100; ++f) ASSERT_EQ(right(chunk, f), 20 + (7 + f) % 40) << f;
  EXPECT_EQ(channel.position, std::uint64_t{20 + (7 + 100) % 40} << 14);
  // A silent channel moves on unclamped; the next span that sounds brings it back.
  channel.amplitude = 0;
  mix_span(player, chunk, 100, 1000);
  EXPECT_EQ(channel.position, std::uint64_t{20 + (7 + 100) % 40 + 1000} << 14);
  channel.amplitude = 1;
  mix_span(player, chunk, 1100, 10);
  EXPECT_EQ(right(chunk, 1100), 20 + (7 + 1100) % 40);
}

TEST(MixSpan, TwoSidedAndOneSidedPathsUseTheirOwnLevels) {
  const auto image = mixer_module();
  Player player = make_player(image);
  // Centre-ish panning: gains 101 x 63 >> 5 = 198 and 101 x 64 >> 5 = 202, then an arithmetic
  // shift of -198 and -202 by 2.
  play_on_zero(player, 4, 101, 64);
  Chunk chunk{};
  mix_span(player, chunk, 0, 4);
  EXPECT_EQ(left(chunk, 0), -50);
  EXPECT_EQ(right(chunk, 0), -51);
  EXPECT_EQ(left(chunk, 3), -50);
  EXPECT_EQ(left(chunk, 4), 0);
  // Fully right: the right side gets v x a, the left nothing.
  Chunk one{};
  play_on_zero(player, 4, 101, 127);
  mix_span(player, one, 10, 5);
  for (int f = 10; f < 15; ++f) {
    EXPECT_EQ(left(one, f), 0);
    EXPECT_EQ(right(one, f), -101);
  }
  EXPECT_EQ(right(one, 9), 0);
  EXPECT_EQ(right(one, 15), 0);
}

TEST(MixSpan, AdditionsWrapAtSixteenBitsWithoutSaturating) {
  const auto image = mixer_module();
  Player player = make_player(image);
  for (int c = 0; c < 3; ++c) {
    Channel& channel = player.channel_slots[c];
    channel.current_sample = 3;
    channel.amplitude = 128;
    channel.panning = 0;
    channel.position = 0;
    channel.increment = 1 << 14;
  }
  Chunk chunk{};
  mix_span(player, chunk, 0, 8);
  // 3 x 127 x 128 = 48768, which wraps to -16768.
  EXPECT_EQ(left(chunk, 0), -16768);
  EXPECT_EQ(left(chunk, 7), -16768);
  EXPECT_EQ(right(chunk, 0), 0);
}

TEST(RenderChunk, ATempoChangeTakesEffectOnTheNextSpan) {
  const auto image = mixer_module({{0, 0, 0, 0, 0, 0xF, 0x01}, {0, 1, 0, 0, 0, 0xF, 0x20}});
  Player player = make_player(image);
  ASSERT_EQ(player.samples_per_tick, 960);
  Chunk chunk{};
  EXPECT_TRUE(render_chunk(player, chunk));
  EXPECT_EQ(player.samples_per_tick, 3750);
  EXPECT_EQ(player.tick_position, 2048 - 960);
  EXPECT_TRUE(render_chunk(player, chunk));
  EXPECT_EQ(player.tick_position, 2048 - 960 + 2048);
}

TEST(RenderSong, DiscardsTheChunkOfTheWrapWhichIsStillFilled) {
  // One position of 64 one-tick rows at tempo 255: 64 x 470 = 30080 frames, so the wrap is
  // reported in chunk 15 (30080 / 2048 = 14.7); a looped note sounds across it.
  const auto image = mixer_module({{0, 0, 0, 428, 3, 0xF, 0x01}, {0, 0, 1, 0, 0, 0xF, 0xFF}});
  Player player = make_player(image);
  player.song_length = 1;
  Player for_song = player;
  EXPECT_EQ(count_song_chunks(player), 14);
  std::vector<std::int16_t> stereo;
  Chunk chunk;
  for (int k = 1; k <= 14; ++k) {
    chunk.fill(0);
    ASSERT_TRUE(render_chunk(player, chunk)) << k;
    stereo.insert(stereo.end(), chunk.begin(), chunk.end());
  }
  chunk.fill(0);
  EXPECT_FALSE(render_chunk(player, chunk));
  EXPECT_EQ(left(chunk, 2047), 127 * 128);  // filled to its end after the wrap
  EXPECT_EQ(player.song_position, 0);

  const auto song = render_song(for_song);
  EXPECT_EQ(song.size(), 14u * 2048);
  EXPECT_TRUE(song == downmix_to_mono(stereo));
  EXPECT_EQ(song[0], 127 * 128 / 2);
}

TEST(RenderSong, AWrapOnAChunkBoundaryDiscardsTheWholeLastChunk) {
  // Speed 6 at tempo 125 over two positions: 2 x 64 x 6 x 960 = 737,280 frames, exactly 360
  // chunks; the wrap comes at the end of the 360th, which is discarded.
  const auto image = mixer_module({{0, 0, 0, 428, 1, 0, 0}});
  Player player = make_player(image);
  player.song_length = 2;
  EXPECT_EQ(count_song_chunks(player), 359);
  Player stepped = player;
  const auto song = render_song(player);
  EXPECT_EQ(song.size(), 359u * 2048);
  Chunk chunk;
  int chunks = 0;
  do {
    chunk.fill(0);
    ++chunks;
  } while (render_chunk(stepped, chunk) && chunks < 1000);
  EXPECT_EQ(chunks, 360);
}

TEST(DownmixToMono, AveragesAndTruncatesTowardZero) {
  const std::vector<std::int16_t> stereo = {-3,    0,     0,  0, 3, 0,  -32768, -32768,
                                            32767, 32767, -1, 0, 1, -2, 32767,  -32768};
  EXPECT_EQ(downmix_to_mono(stereo), (std::vector<std::int16_t>{-1, 0, 1, -32768, 32767, 0, 0, 0}));
}
