#include "music/voice.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// Entry n = round(4096 * 2^(-n/12)): multiplying a period by it / 4096 raises it n semitones.
constexpr std::array<std::uint16_t, 16> arpeggio_table = {4096, 3866, 3649, 3444, 3251, 3069, 2896, 2734,
                                                          2580, 2435, 2299, 2170, 2048, 1933, 1825, 1722};

// Entry i = round(4096 * 2^((8 - i)/96)): index 8 leaves the period untuned.
constexpr std::array<std::uint16_t, 16> finetune_table = {4340, 4308, 4277, 4247, 4216, 4186, 4156, 4126,
                                                          4096, 4067, 4037, 4008, 3979, 3951, 3922, 3894};

}  // namespace

void start_note(const Player& player, Channel& channel) {
  const Note& note = channel.note;
  if (note.instrument >= 1 && note.instrument <= 31) {
    const Sample& sample = player.sample_table[note.instrument];
    channel.assigned_sample = note.instrument;
    channel.start_offset = 0;
    channel.finetune = sample.finetune;
    channel.volume = sample.volume;
    // A sounding channel switches to a looped sample at once, at its current position.
    if (sample.loop_length > 0 && channel.current_sample != 0) {
      channel.current_sample = note.instrument;
    }
  }
  if (effect_of(note) == Effect::sample_offset) channel.start_offset = std::uint64_t{note.param} * 256;
  if (effect_of(note) == Effect::set_finetune) channel.finetune = note.param ^ 8;

  if (note.period == 0) return;
  const std::uint32_t tuned = std::uint32_t{note.period} * finetune_table[channel.finetune & 15];
  // tuned / 4096, rounded half up.
  channel.target_period = static_cast<std::uint16_t>((tuned >> 12) + ((tuned >> 11) & 1));
  // Under tone portamento the note is only the slide's target: the sample is not restarted.
  if (effect_of(note) == Effect::tone_portamento || effect_of(note) == Effect::tone_portamento_volume_slide) {
    return;
  }
  channel.current_sample = channel.assigned_sample;
  channel.period = channel.target_period;
  channel.position = channel.start_offset << 14;
  // Shapes 4..7 keep running across notes instead of restarting.
  if (channel.vibrato_shape < 4) channel.vibrato_phase = 0;
  if (channel.tremolo_shape < 4) channel.tremolo_phase = 0;
}

void update_pitch_and_gain(const Player& player, Channel& channel) {
  std::int64_t period = std::int64_t{channel.period} + channel.vibrato_offset;
  period *= arpeggio_table[channel.arpeggio_step & 15];
  period = (period >> 12) + ((period >> 11) & 1);  // arithmetic shifts: rounds half up
  // A period too small to play (a slide ran off, or vibrato pushed it below) falls to a very
  // low pitch instead of an absurdly high one.
  if (period < 14) period = 6848;
  const std::int64_t frequency = player.reference_rate * 428 / period;
  channel.increment =
      (static_cast<std::uint64_t>(frequency) << 14) / static_cast<std::uint64_t>(player.sample_rate);
  const std::int64_t volume =
      std::clamp<std::int64_t>(std::int64_t{channel.volume} + channel.tremolo_offset, 0, 64);
  channel.amplitude = static_cast<std::uint8_t>((volume * player.gain) >> 5);
}
