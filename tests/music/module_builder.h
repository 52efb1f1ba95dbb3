#pragma once

// Builds small 31-sample "M.K." module images for tests from a few lines: sample headers with
// their bytes, an order list and the cells that matter.

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "music/player.h"

struct TestSample {
  int number = 1;  // 1..31
  std::uint16_t length_words = 0;
  std::uint8_t finetune_byte = 0;
  std::uint8_t volume_byte = 64;
  std::uint16_t loop_start_words = 0;
  std::uint16_t loop_length_words = 1;
  std::vector<std::int8_t> bytes;  // padded with zeros to the length
};

inline TestSample test_sample(int number, std::uint16_t length_words, std::uint16_t loop_start_words = 0,
                              std::uint16_t loop_length_words = 1, std::vector<std::int8_t> bytes = {},
                              std::uint8_t finetune_byte = 0, std::uint8_t volume_byte = 64) {
  return TestSample{number,           length_words,      finetune_byte,   volume_byte,
                    loop_start_words, loop_length_words, std::move(bytes)};
}

struct TestCell {
  int pattern = 0;
  int row = 0;
  int channel = 0;
  std::uint16_t period = 0;
  std::uint8_t instrument = 0;
  std::uint8_t effect = 0;  // the cell's effect nibble
  std::uint8_t param = 0;
};

struct TestModule {
  std::vector<TestSample> samples;
  std::vector<std::uint8_t> order = std::vector<std::uint8_t>(19, 0);  // rest of the 128 are 0
  std::vector<TestCell> cells;
};

inline void put_word(std::vector<std::uint8_t>& image, std::size_t at, std::uint16_t value) {
  image[at] = static_cast<std::uint8_t>(value >> 8);
  image[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

inline std::vector<std::uint8_t> build_module(const TestModule& module) {
  int highest = 0;
  for (const std::uint8_t entry : module.order) highest = std::max(highest, entry & 0x7F);
  const std::size_t pattern_count = static_cast<std::size_t>(highest) + 1;
  std::size_t sample_bytes = 0;
  for (const TestSample& sample : module.samples) sample_bytes += std::size_t{sample.length_words} * 2;
  const std::size_t sample_offset = 1084 + 1024 * pattern_count;
  std::vector<std::uint8_t> image(sample_offset + sample_bytes, 0);
  const std::string title = "test";
  std::copy(title.begin(), title.end(), image.begin());
  image[950] = static_cast<std::uint8_t>(module.order.size());
  std::copy(module.order.begin(), module.order.end(), image.begin() + 952);
  image[1080] = 'M';
  image[1081] = '.';
  image[1082] = 'K';
  image[1083] = '.';

  for (int number = 1; number <= 31; ++number) {
    const std::size_t header = 20 + 30 * static_cast<std::size_t>(number - 1);
    put_word(image, header + 28, 1);  // a one-word loop: the usual "no loop"
    image[header + 25] = 64;
  }
  std::vector<TestSample> samples = module.samples;
  std::sort(samples.begin(), samples.end(),
            [](const TestSample& a, const TestSample& b) { return a.number < b.number; });
  for (const TestSample& sample : samples) {
    const std::size_t header = 20 + 30 * static_cast<std::size_t>(sample.number - 1);
    put_word(image, header + 22, sample.length_words);
    image[header + 24] = sample.finetune_byte;
    image[header + 25] = sample.volume_byte;
    put_word(image, header + 26, sample.loop_start_words);
    put_word(image, header + 28, sample.loop_length_words);
  }
  std::size_t at = sample_offset;
  for (const TestSample& sample : samples) {
    const std::size_t length = std::size_t{sample.length_words} * 2;
    for (std::size_t k = 0; k < std::min(length, sample.bytes.size()); ++k) {
      image[at + k] = static_cast<std::uint8_t>(sample.bytes[k]);
    }
    at += length;
  }
  for (const TestCell& cell : module.cells) {
    const std::size_t at = 1084 + static_cast<std::size_t>(cell.pattern) * 1024 +
                           static_cast<std::size_t>(cell.row) * 16 +
                           static_cast<std::size_t>(cell.channel) * 4;
    image[at] = static_cast<std::uint8_t>((cell.instrument & 0x10) | ((cell.period >> 8) & 0x0F));
    image[at + 1] = static_cast<std::uint8_t>(cell.period & 0xFF);
    image[at + 2] = static_cast<std::uint8_t>(((cell.instrument & 0x0F) << 4) | (cell.effect & 0x0F));
    image[at + 3] = cell.param;
  }
  return image;
}

// The player of an image that must be valid; the image must outlive the player.
inline Player make_player(const std::vector<std::uint8_t>& image, std::int64_t rate = 48000) {
  auto result = create_player(image, rate);
  if (auto* error = std::get_if<ModuleError>(&result)) throw std::runtime_error(error->message);
  return std::get<Player>(result);
}

// Runs ticks until the next row begins; returns that row's wrap flag.
inline bool play_next_row(Player& player) {
  for (;;) {
    const std::int64_t before = player.ticks_left;
    const bool wrapped = advance_tick(player);
    if (before == 1) return wrapped;
  }
}
