#include "music/playback.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "music/mixer.h"
#include "music/module_image.h"
#include "music/player.h"

namespace {

std::vector<std::int16_t> embedded_song() {
  auto player = create_player(module_image, 48000);
  return render_song(std::get<Player>(player));
}

}  // namespace

TEST(FillBlock, PlaysTheEmbeddedSongOnceInBlocksOf8192) {
  PlaybackState state;
  const auto song = embedded_song();
  ASSERT_EQ(song.size(), 5'470'208u);
  install_song(state, song);
  std::vector<float> block(8192);
  for (int call = 1; call <= 667; ++call) {
    const std::uint64_t begin = state.read_index;
    ASSERT_EQ(begin, std::uint64_t(call - 1) * 8192);
    std::fill(block.begin(), block.end(), 7.0f);
    fill_block(state, block);
    ASSERT_TRUE(state.playing) << call;
    for (std::size_t k = 0; k < block.size(); ++k) {
      ASSERT_EQ(block[k], static_cast<float>(song[begin + k]) / 32767.0f) << call << ":" << k;
    }
  }
  // Call 668 starts at 5,464,064 and copies 6143 samples, up to index 5,470,206.
  EXPECT_EQ(state.read_index, 5'464'064u);
  std::fill(block.begin(), block.end(), 7.0f);
  fill_block(state, block);
  for (std::size_t k = 0; k < 6143; ++k) {
    ASSERT_EQ(block[k], static_cast<float>(song[5'464'064 + k]) / 32767.0f) << k;
  }
  for (std::size_t k = 6143; k < block.size(); ++k) ASSERT_EQ(block[k], 0.0f) << k;
  EXPECT_FALSE(state.playing);
  EXPECT_EQ(state.read_index, 0u);
  // Silence from call 669 on, whatever the block length.
  for (std::size_t length : {std::size_t{8192}, std::size_t{1}, std::size_t{441}, std::size_t{100000}}) {
    std::vector<float> after(length, 7.0f);
    fill_block(state, after);
    EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](float v) { return v == 0.0f; }));
    EXPECT_FALSE(state.playing);
  }
}

TEST(FillBlock, AcceptsAnyBlockLengthAndEndsByTheCurrentOne) {
  std::vector<std::int16_t> song(1000);
  for (std::size_t k = 0; k < song.size(); ++k) song[k] = static_cast<std::int16_t>(k);
  for (std::size_t length : {std::size_t{1}, std::size_t{441}, std::size_t{8192}, std::size_t{100000}}) {
    PlaybackState state;
    install_song(state, song);
    std::vector<float> played;
    std::vector<float> block(length);
    int calls = 0;
    while (state.playing) {
      fill_block(state, block);
      const std::size_t copied = std::min<std::size_t>(length, 999 - played.size());
      played.insert(played.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(copied));
      ASSERT_LT(++calls, 2000);
    }
    // Every sample but the last is played, in order, exactly once.
    ASSERT_EQ(played.size(), 999u) << length;
    for (std::size_t k = 0; k < played.size(); ++k) {
      ASSERT_EQ(played[k], static_cast<float>(k) / 32767.0f) << length << ":" << k;
    }
    EXPECT_EQ(calls, static_cast<int>((999 + length - 1) / length)) << length;
  }
}

TEST(FillBlock, ScalesBy32767WithoutClamping) {
  PlaybackState state;
  install_song(state, {-32768, 0, 32767, -1, 0});
  std::vector<float> block(4, 9.0f);
  fill_block(state, block);
  EXPECT_EQ(block[0], -1.0000305f);
  EXPECT_EQ(block[0], -32768.0f / 32767.0f);
  EXPECT_EQ(block[1], 0.0f);
  EXPECT_EQ(block[2], 1.0f);
  EXPECT_EQ(block[3], -1.0f / 32767.0f);
  EXPECT_FALSE(state.playing);  // 0 + 4 reached the last index
}
