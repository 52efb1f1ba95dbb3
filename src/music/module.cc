#include "music/module.h"

#include <algorithm>

namespace {

std::uint64_t read_word(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return (std::uint64_t{bytes[offset]} << 8) | bytes[offset + 1];
}

}  // namespace

std::int64_t count_patterns(std::span<const std::uint8_t, 128> order_list) {
  // Every entry counts, also those beyond the song length: the pattern data is sized by all
  // of them, so the sample data starts after the highest pattern named anywhere.
  std::int64_t highest = 0;
  for (const std::uint8_t entry : order_list) highest = std::max<std::int64_t>(highest, entry & 0x7F);
  return highest + 1;
}

std::variant<std::array<Sample, 32>, ModuleError> read_sample_table(std::span<const std::uint8_t> image,
                                                                    std::int64_t pattern_count) {
  if (image.size() < pattern_data_offset) {
    return ModuleError{"module image of " + std::to_string(image.size()) +
                       " bytes is too short for the 1084-byte header"};
  }
  if (pattern_count < 1 || pattern_count > 128) {
    return ModuleError{"pattern count " + std::to_string(pattern_count) + " is outside 1..128"};
  }
  std::uint64_t offset = pattern_data_offset + pattern_size * static_cast<std::uint64_t>(pattern_count);
  if (offset > image.size()) {
    return ModuleError{"pattern data of " + std::to_string(pattern_count) +
                       " patterns runs past the end of the " + std::to_string(image.size()) +
                       "-byte module image"};
  }

  std::array<Sample, 32> table{};  // entry 0 stays the empty sample: instrument 0 never sounds
  for (std::size_t number = 1; number <= 31; ++number) {
    const std::size_t header = sample_headers_offset + sample_header_size * (number - 1);
    const std::int64_t length = static_cast<std::int64_t>(read_word(image, header + 22)) * 2;
    std::int64_t loop_start = static_cast<std::int64_t>(read_word(image, header + 26)) * 2;
    std::int64_t loop_length = static_cast<std::int64_t>(read_word(image, header + 28)) * 2;

    // A sample that does not fit in the image is refused rather than cut: its loop points and
    // every later sample's start would otherwise point at bytes that do not exist.
    if (offset + static_cast<std::uint64_t>(length) > image.size()) {
      return ModuleError{"sample " + std::to_string(number) + " (" + std::to_string(length) +
                         " bytes at offset " + std::to_string(offset) + ") runs past the end of the " +
                         std::to_string(image.size()) + "-byte module image"};
    }

    if (loop_start + loop_length > length) {
      // Some trackers stored the loop start in bytes rather than words: if halving it makes the
      // loop fit, that is what was meant. Otherwise the loop is cut at the sample's end.
      if (loop_start / 2 + loop_length <= length) {
        loop_start /= 2;
      } else {
        loop_length = length - loop_start;
      }
    }
    // A loop shorter than two words (one word is the usual "no loop" marker) plays once.
    if (loop_length < 4) {
      loop_start = length;
      loop_length = 0;
    }

    Sample& sample = table[number];
    sample.data = image.subspan(static_cast<std::size_t>(offset));
    sample.loop_start = static_cast<std::uint64_t>(loop_start) << 14;
    sample.loop_length = static_cast<std::uint64_t>(loop_length) << 14;
    sample.volume = std::min<std::uint8_t>(image[header + 25] & 0x7F, 64);
    sample.finetune = (image[header + 24] & 0x0F) ^ 8;
    offset += static_cast<std::uint64_t>(length);
  }
  return table;
}

Note decode_note(std::span<const std::uint8_t, 4> cell) {
  Note note;
  note.period = static_cast<std::uint16_t>(((cell[0] & 0x0F) << 8) | cell[1]);
  note.instrument = static_cast<std::uint8_t>((cell[0] & 0x10) | (cell[2] >> 4));
  const std::uint8_t nibble = cell[2] & 0x0F;
  constexpr std::uint8_t extended_group = 0x0E;  // the format's Exy: effect x with parameter y
  if (nibble == extended_group) {
    // Exy becomes the code 0x10 + x (Effect::set_filter .. Effect::invert_loop) with parameter y.
    note.effect = static_cast<std::uint8_t>(static_cast<std::uint8_t>(Effect::set_filter) | (cell[3] >> 4));
    note.param = cell[3] & 0x0F;
  } else {
    note.effect = nibble;
    note.param = cell[3];
  }
  // Effect 0 with a parameter is the arpeggio; 0x0E is free for it since the extended group
  // moved to 0x10..0x1F.
  if (effect_of(note) == Effect::none && note.param != 0)
    note.effect = static_cast<std::uint8_t>(Effect::arpeggio);
  return note;
}
