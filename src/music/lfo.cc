#include "music/lfo.h"

#include <array>

namespace {

// Entry i = floor(255 * sin(pi * i / 32)): the positive half of the sine.
constexpr std::array<std::uint8_t, 32> sine_table = {0,   24,  49,  74,  97,  120, 141, 161, 180, 197, 212,
                                                     224, 235, 244, 250, 253, 255, 253, 250, 244, 235, 224,
                                                     212, 197, 180, 161, 141, 120, 97,  74,  49,  24};

}  // namespace

std::int64_t lfo_value(std::int64_t& noise_seed, std::uint8_t phase, std::uint8_t shape) {
  switch (shape & 3) {
    case 0: {  // sine
      const std::int64_t value = sine_table[phase & 31];
      return (phase & 32) != 0 ? -value : value;
    }
    case 1:  // saw down
      return 255 - (((phase + 32) & 63) << 3);
    case 2:  // square: 255, then -257 (the formula's own asymmetry)
      return 255 - ((phase & 32) << 4);
    default: {  // random: the value comes from the seed before the step
      const std::int64_t value = (noise_seed >> 20) - 255;
      noise_seed = (noise_seed * 65 + 17) & 0x1FFFFFFF;
      return value;
    }
  }
}

void apply_vibrato(Player& player, Channel& channel) {
  // Arithmetic shift: negative values round towards minus infinity.
  channel.vibrato_offset = static_cast<std::int8_t>(
      (lfo_value(player.noise_seed, channel.vibrato_phase, channel.vibrato_shape) * channel.vibrato_depth) >>
      7);
}

void apply_tremolo(Player& player, Channel& channel) {
  channel.tremolo_offset = static_cast<std::int8_t>(
      (lfo_value(player.noise_seed, channel.tremolo_phase, channel.tremolo_shape) * channel.tremolo_depth) >>
      6);
}
