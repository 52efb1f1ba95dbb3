#include "music/module.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <vector>

#include "music/module_builder.h"

namespace {

std::array<Sample, 32> table_of(const std::vector<std::uint8_t>& image) {
  std::array<std::uint8_t, 128> order{};
  std::copy_n(image.begin() + 952, 128, order.begin());
  auto result = read_sample_table(image, count_patterns(order));
  EXPECT_TRUE((std::holds_alternative<std::array<Sample, 32>>(result)));
  return std::get<std::array<Sample, 32>>(result);
}

constexpr std::uint64_t fp(std::uint64_t bytes) { return bytes << 14; }

}  // namespace

TEST(CountPatterns, MasksEveryEntryOfTheWholeOrderList) {
  std::array<std::uint8_t, 128> order{};
  EXPECT_EQ(count_patterns(order), 1);
  order[3] = 2;
  order[127] = 0x85;  // beyond any song length, high bit set: counts as pattern 5
  EXPECT_EQ(count_patterns(order), 6);
  order[40] = 0xFF;
  EXPECT_EQ(count_patterns(order), 128);
}

TEST(ReadSampleTable, RepairsLoopsThatOverrunTheSample) {
  TestModule module;
  module.samples = {
      test_sample(1, 100, 120, 40, {}, 0, 64), test_sample(2, 100, 80, 40, {}, 0, 64),
      test_sample(3, 100, 90, 60, {}, 0, 64),  test_sample(4, 100, 99, 60, {}, 0, 64),
      test_sample(5, 100, 10, 1, {}, 0, 64),   test_sample(6, 0, 0, 1, {}, 0, 64),
      test_sample(7, 100, 10, 2, {}, 0, 64),
  };
  const auto image = build_module(module);
  const auto table = table_of(image);
  // Start taken as stored in bytes: 120..200, then 80..160.
  EXPECT_EQ(table[1].loop_start, fp(120));
  EXPECT_EQ(table[1].loop_length, fp(80));
  EXPECT_EQ(table[2].loop_start, fp(80));
  EXPECT_EQ(table[2].loop_length, fp(80));
  // Cut at the end: 180..200.
  EXPECT_EQ(table[3].loop_start, fp(180));
  EXPECT_EQ(table[3].loop_length, fp(20));
  // Cut to 2 bytes: too short, one-shot.
  EXPECT_EQ(table[4].loop_start, fp(200));
  EXPECT_EQ(table[4].loop_length, 0u);
  // The one-word "no loop" marker and an empty sample are one-shot.
  EXPECT_EQ(table[5].loop_start, fp(200));
  EXPECT_EQ(table[5].loop_length, 0u);
  EXPECT_EQ(table[6].loop_start, 0u);
  EXPECT_EQ(table[6].loop_length, 0u);
  // Two words is the shortest real loop.
  EXPECT_EQ(table[7].loop_start, fp(20));
  EXPECT_EQ(table[7].loop_length, fp(4));
}

TEST(ReadSampleTable, PlacesSamplesAfterEveryCountedPatternAndReadsHeaderBytes) {
  TestModule module;
  module.order.push_back(0);
  module.order.resize(60, 0);
  module.order[59] = 2;  // not played, but stored: the sample data starts after pattern 2
  module.samples = {
      test_sample(1, 2, 0, 1, {11, 12, 13, 14}, 0xF3, 0xC0),
      test_sample(2, 1, 0, 1, {-21, -22}, 0x0F, 0x50),
      test_sample(20, 1, 0, 1, {31, 32}, 0x08, 17),
  };
  const auto image = build_module(module);
  ASSERT_EQ(image.size(), 1084u + 3 * 1024 + 8);
  const auto table = table_of(image);

  EXPECT_TRUE(table[0].data.empty());
  EXPECT_EQ(table[0].volume, 0);
  EXPECT_EQ(table[0].loop_start + table[0].loop_length, 0u);

  EXPECT_EQ(table[1].data.data(), image.data() + 1084 + std::ptrdiff_t{3} * 1024);
  EXPECT_EQ(table[1].data.size(), 8u);  // to the end of the image, not cut at the length
  EXPECT_EQ(table[1].volume, 64);       // bit 7 ignored: 0x40
  EXPECT_EQ(table[1].finetune, 3 ^ 8);  // high nibble ignored
  EXPECT_EQ(static_cast<std::int8_t>(table[2].data[0]), -21);
  EXPECT_EQ(table[2].volume, 64);   // 80 clamped
  EXPECT_EQ(table[2].finetune, 7);  // -1 -> 7
  // Samples 3..19 are empty, so sample 20 follows sample 2 directly.
  EXPECT_EQ(table[20].data[0], 31);
  EXPECT_EQ(table[20].volume, 17);
  EXPECT_EQ(table[20].finetune, 0);  // -8 -> lowest tuning
}

TEST(DecodeNote, SplitsPeriodInstrumentAndEffectCodes) {
  using Cell = std::array<std::uint8_t, 4>;
  EXPECT_EQ(decode_note(Cell{0x01, 0xAC, 0x10, 0x00}), (Note{428, 1, 0x00, 0x00}));
  EXPECT_EQ(decode_note(Cell{0x00, 0x00, 0x00, 0x37}), (Note{0, 0, 0x0E, 0x37}));  // arpeggio
  EXPECT_EQ(decode_note(Cell{0x00, 0x00, 0x0E, 0x37}), (Note{0, 0, 0x13, 0x07}));  // E37
  EXPECT_EQ(decode_note(Cell{0x00, 0x00, 0x0E, 0x00}), (Note{0, 0, 0x10, 0x00}));  // E00 stays
  EXPECT_EQ(decode_note(Cell{0x00, 0x00, 0x0E, 0xFF}), (Note{0, 0, 0x1F, 0x0F}));
  EXPECT_EQ(decode_note(Cell{0x00, 0x00, 0x0F, 0xA0}), (Note{0, 0, 0x0F, 0xA0}));
  // Bit 4 of the first byte is the instrument's high bit: 16..31.
  EXPECT_EQ(decode_note(Cell{0x1F, 0xFF, 0x0C, 0x31}), (Note{0xFFF, 16, 0x0C, 0x31}));
  EXPECT_EQ(decode_note(Cell{0xF3, 0x58, 0xFA, 0x0F}), (Note{0x358, 31, 0x0A, 0x0F}));
}

TEST(ReadSampleTable, RefusesImagesThatDoNotHoldWhatTheyDeclare) {
  TestModule module;
  module.samples = {test_sample(1, 100, 0, 1, {}, 0, 64), test_sample(31, 3, 0, 1, {}, 0, 64)};
  const auto image = build_module(module);
  ASSERT_TRUE((std::holds_alternative<std::array<Sample, 32>>(read_sample_table(image, 1))));
  // More patterns than the image holds.
  EXPECT_TRUE(std::holds_alternative<ModuleError>(read_sample_table(image, 3)));
  EXPECT_TRUE(std::holds_alternative<ModuleError>(read_sample_table(image, 0)));
  EXPECT_TRUE(std::holds_alternative<ModuleError>(read_sample_table(image, 129)));
  // Every cut of the image, down to nothing, is refused with a message: the last sample runs
  // past the end, and shorter cuts lose the sample starts, the patterns or the header.
  for (std::size_t size = 0; size < image.size(); ++size) {
    const std::span<const std::uint8_t> cut(image.data(), size);
    const auto result = read_sample_table(cut, 1);
    ASSERT_TRUE(std::holds_alternative<ModuleError>(result)) << "size " << size;
    EXPECT_FALSE(std::get<ModuleError>(result).message.empty());
  }
}

TEST(CreatePlayer, RefusesCorruptImagesAndLowRates) {
  TestModule module;
  module.samples = {test_sample(1, 10, 0, 10, {}, 0, 64)};
  const auto image = build_module(module);
  EXPECT_TRUE(std::holds_alternative<Player>(create_player(image, 8000)));
  EXPECT_TRUE(std::holds_alternative<ModuleError>(create_player(image, 7999)));
  EXPECT_TRUE(std::holds_alternative<ModuleError>(create_player(image, 0)));
  EXPECT_TRUE(std::holds_alternative<ModuleError>(create_player(image, -48000)));
  for (std::size_t size :
       {std::size_t{0}, std::size_t{951}, std::size_t{1083}, std::size_t{2107}, image.size() - 1}) {
    EXPECT_TRUE(std::holds_alternative<ModuleError>(
        create_player(std::span<const std::uint8_t>(image.data(), size), 48000)))
        << "size " << size;
  }

  // An order byte with bit 7 set counts as pattern 5 but is read whole, as pattern 133, which
  // lies far past the image: refused rather than read.
  TestModule high;
  high.order[18] = 0x85;
  const auto high_image = build_module(high);
  const auto result = create_player(high_image, 48000);
  ASSERT_TRUE(std::holds_alternative<ModuleError>(result));
  EXPECT_NE(std::get<ModuleError>(result).message.find("133"), std::string::npos);
  // The same entry past the song length is counted but never read.
  high.order.resize(20, 0);
  high.order[18] = 0;
  high.order[19] = 0x85;
  const auto unplayed = build_module(high);
  EXPECT_TRUE(std::holds_alternative<Player>(create_player(unplayed, 48000)));
}
