#include "music/player.h"

#include <string>

#include "music/effects.h"
#include "music/voice.h"

namespace {

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

// The effects of a tick between rows.
void run_effect_tick(Player& player) {
  for (std::int64_t c = 0; c < player.channel_count; ++c) {
    Channel& channel = player.channel_slots[c];
    channel.effect_ticks = static_cast<std::uint8_t>(channel.effect_ticks + 1);
    run_tick_action(player, channel, channel.effect_ticks);
    // A channel without an effect keeps its increment and amplitude as the row left them.
    if (effect_of(channel.note) != Effect::none) update_pitch_and_gain(player, channel);
  }
}

// One row on every channel; returns the wrap flag of advance_tick.
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
    const bool delayed = effect_of(channel.note) == Effect::note_delay && channel.note.param != 0;
    if (!delayed) {
      start_note(player, channel);
      run_row_action(player, channel);
    }
    update_pitch_and_gain(player, channel);
  }
  return wrapped;
}

}  // namespace

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
