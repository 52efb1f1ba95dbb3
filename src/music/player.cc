#include "music/player.h"

#include <algorithm>
#include <string>

#include "music/effects.h"

namespace {

// Entry n = round(4096 * 2^(-n/12)): multiplying a period by it / 4096 raises it n semitones.
constexpr std::array<std::uint16_t, 16> arpeggio_table = {4096, 3866, 3649, 3444, 3251, 3069, 2896, 2734,
                                                          2580, 2435, 2299, 2170, 2048, 1933, 1825, 1722};

// Entry i = round(4096 * 2^((8 - i)/96)): index 8 leaves the period untuned.
constexpr std::array<std::uint16_t, 16> finetune_table = {4340, 4308, 4277, 4247, 4216, 4186, 4156, 4126,
                                                          4096, 4067, 4037, 4008, 3979, 3951, 3922, 3894};

constexpr std::size_t cell_size = 4;

// The cell of the current row for `channel`. A cell outside the pattern data reads as empty,
// so no order-list entry can make the player read past the image.
Note read_cell(const Player& player, std::int64_t channel) {
  if (player.song_position < 0 ||
      static_cast<std::uint64_t>(player.song_position) >= player.sequence.size()) {
    return Note{};
  }
  const std::uint64_t pattern = player.sequence[static_cast<std::size_t>(player.song_position)];
  const std::uint64_t offset = (pattern * rows_per_pattern + static_cast<std::uint64_t>(player.row)) *
                                   static_cast<std::uint64_t>(player.channel_count) * cell_size +
                               static_cast<std::uint64_t>(channel) * cell_size;
  if (offset + cell_size > player.patterns.size()) return Note{};
  return decode_note(player.patterns.subspan(static_cast<std::size_t>(offset)).first<cell_size>());
}

}  // namespace

std::int64_t samples_per_tick_at(std::int64_t sample_rate, std::int64_t tempo) {
  // A tick lasts 2.5 / tempo seconds.
  return (sample_rate / 2 + 2 * sample_rate) / tempo;
}

std::variant<Player, ModuleError> create_player(std::span<const std::uint8_t> image,
                                                std::int64_t sample_rate) {
  if (sample_rate < lowest_sample_rate || sample_rate > highest_sample_rate) {
    return ModuleError{"output rate " + std::to_string(sample_rate) + " Hz is outside " +
                       std::to_string(lowest_sample_rate) + ".." + std::to_string(highest_sample_rate) +
                       " Hz"};
  }
  if (image.size() < pattern_data_offset) {
    return ModuleError{"module image of " + std::to_string(image.size()) +
                       " bytes is too short for the 1084-byte header"};
  }
  Player player;
  player.pattern_count = count_patterns(image.subspan(order_list_offset).first<order_list_size>());
  auto table = read_sample_table(image, player.pattern_count);
  if (auto* error = std::get_if<ModuleError>(&table)) return std::move(*error);
  player.sample_table = std::get<std::array<Sample, 32>>(table);
  player.sequence = image.subspan(order_list_offset);
  player.patterns = image.subspan(pattern_data_offset);

  // The order byte is used whole when reading cells (only the count masks it), so an entry with
  // bit 7 set can name a pattern past the counted ones. Refuse one that points past the image.
  const std::uint64_t pattern_bytes =
      rows_per_pattern * cell_size * static_cast<std::uint64_t>(player.channel_count);
  for (std::int64_t position = 0; position < player.song_length; ++position) {
    const std::uint64_t pattern = player.sequence[static_cast<std::size_t>(position)];
    if ((pattern + 1) * pattern_bytes > player.patterns.size()) {
      return ModuleError{"song position " + std::to_string(position) + " names pattern " +
                         std::to_string(pattern) + ", which lies past the end of the " +
                         std::to_string(image.size()) + "-byte module image"};
    }
  }

  player.sample_rate = sample_rate;
  for (std::size_t slot = 0; slot < player.channel_slots.size(); ++slot) {
    Channel& channel = player.channel_slots[slot];
    channel.index = static_cast<std::uint8_t>(slot);
    // Left, right, right, left, as on the machine the format comes from.
    channel.panning = ((slot & 3) == 0 || (slot & 3) == 3) ? 0 : 127;
  }
  player.gain = player.channel_count < 5 ? 64 : 32;
  player.reference_rate = player.channel_count < 5 ? 8287 : 8363;
  player.samples_per_tick = samples_per_tick_at(sample_rate, 125);
  advance_tick(player);  // applies position 0, row 0; its wrap flag means nothing here
  return player;
}

bool advance_tick(Player& player) {
  player.ticks_left -= 1;
  if (player.ticks_left > 0) {
    run_effect_tick(player);
    return false;
  }
  return play_row(player);
}

bool play_row(Player& player) {
  player.ticks_left = player.speed;

  std::int64_t r = player.next_row;
  if (r < 0) {
    player.next_song_position = player.song_position + 1;
    r = 0;
  }
  bool wrapped = false;
  if (player.next_song_position >= 0) {
    std::int64_t position = player.next_song_position;
    if (position >= player.song_length) {
      position = 0;
      r = 0;
    }
    wrapped = position <= player.song_position;
    player.song_position = position;
    for (std::int64_t c = 0; c < player.channel_count; ++c) player.channel_slots[c].loop_row = 0;
    player.next_song_position = -1;
  }
  player.row = r;
  player.next_row = r + 1 < static_cast<std::int64_t>(rows_per_pattern) ? r + 1 : -1;

  for (std::int64_t c = 0; c < player.channel_count; ++c) {
    Channel& channel = player.channel_slots[c];
    channel.note = read_cell(player, c);
    channel.tremolo_offset = 0;
    channel.vibrato_offset = 0;
    channel.effect_ticks = 0;
    channel.arpeggio_step = 0;
    // A delayed note neither triggers nor runs its row action now; its tick does both later.
    const bool delayed = channel.note.effect == 0x1D && channel.note.param != 0;
    if (!delayed) {
      start_note(player, channel);
      run_row_action(player, channel);
    }
    update_pitch_and_gain(player, channel);
  }
  return wrapped;
}

void run_effect_tick(Player& player) {
  for (std::int64_t c = 0; c < player.channel_count; ++c) {
    Channel& channel = player.channel_slots[c];
    channel.effect_ticks = static_cast<std::uint8_t>(channel.effect_ticks + 1);
    run_tick_action(player, channel, channel.effect_ticks);
    // A channel without an effect keeps its increment and amplitude as the row left them.
    if (channel.note.effect != 0) update_pitch_and_gain(player, channel);
  }
}

void start_note(Player& player, Channel& channel) {
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
  if (note.effect == 0x09) channel.start_offset = std::uint64_t{note.param} * 256;
  if (note.effect == 0x15) channel.finetune = note.param ^ 8;

  if (note.period == 0) return;
  const std::uint32_t tuned = std::uint32_t{note.period} * finetune_table[channel.finetune & 15];
  // tuned / 4096, rounded half up.
  channel.target_period = static_cast<std::uint16_t>((tuned >> 12) + ((tuned >> 11) & 1));
  // Under tone portamento the note is only the slide's target: the sample is not restarted.
  if (note.effect == 0x03 || note.effect == 0x05) return;
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
