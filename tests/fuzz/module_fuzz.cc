// libFuzzer target: arbitrary byte images handed to the module reader, the player and the
// pre-render. Every image must end as a clean refusal or as a playing song, and every read must
// stay inside the image. The engine gets an exact-size heap copy of the input, so AddressSanitizer
// catches a read even one byte past its end.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <variant>

#include "music/mixer.h"
#include "music/module.h"
#include "music/player.h"

namespace {

// Output rates tried, one per input: the lowest accepted, odd ones, the usual ones and the
// highest accepted. Rates outside 8000..768000 Hz must be refused before anything is read.
constexpr std::array<std::int64_t, 8> played_rates = {8000, 8001, 11025, 22051, 44100, 48000, 96000, 768000};
constexpr std::array<std::int64_t, 5> refused_rates = {-48000, 0, 7999, 768001, 1LL << 40};

// A module whose jumps loop forever never reports its wrap, so everything is bounded here as
// the song length is bounded in render_song: a few chunks mixed, then ticks alone (the player's
// paths at a fraction of the mixing cost), then a few chunks mixed from wherever that left the
// channels.
constexpr int chunks_before = 8;
constexpr int ticks_between = 1536;
constexpr int chunks_after = 4;

// An invariant that fails names itself, so a crash report says which one.
#define check(condition)                                                                 \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

void check_player(const Player& player) {
  check(player.channel_count == 4);
  check(player.song_position >= 0 && player.song_position < player.song_length);
  check(player.row >= 0 && player.row < 64);
  check(player.next_row >= -1 && player.next_row < 64);
  check(player.samples_per_tick > 0);
  check(player.tick_position >= 0 && player.tick_position < player.samples_per_tick);
  for (std::int64_t c = 0; c < player.channel_count; ++c) {
    const Channel& channel = player.channel_slots[static_cast<std::size_t>(c)];
    check(channel.volume <= 64);
    check(channel.amplitude <= 128);
    check(channel.current_sample < 32);
    check(channel.panning <= 127);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exact-size heap copy: the first byte past the image is a redzone.
  const std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[size == 0 ? 1 : size]);
  std::copy(data, data + size, copy.get());
  const std::span<const std::uint8_t> image(copy.get(), size);

  // The reader on its own, with the image's own pattern count and with counts out of range.
  std::int64_t pattern_count = 1;
  if (size >= order_list_offset + order_list_size) {
    pattern_count = count_patterns(image.subspan(order_list_offset).first<order_list_size>());
    check(pattern_count >= 1 && pattern_count <= 128);
  }
  for (const std::int64_t count : {pattern_count, std::int64_t{0}, std::int64_t{129}, std::int64_t{-1}}) {
    auto table = read_sample_table(image, count);
    if (count < 1 || count > 128) check(std::holds_alternative<ModuleError>(table));
    if (auto* samples = std::get_if<std::array<Sample, 32>>(&table)) {
      check((*samples)[0].data.empty() && (*samples)[0].loop_length == 0);
      for (const Sample& sample : *samples) {
        // Playback never goes past the loop end, so it must lie inside the sample's view.
        check((sample.loop_start + sample.loop_length) >> 14 <= sample.data.size());
        check(sample.loop_length == 0 || sample.loop_length >= (std::uint64_t{4} << 14));
        check(sample.volume <= 64 && sample.finetune < 16);
      }
    }
  }
  for (std::size_t at = 0; at + 4 <= size && at < 64 * 1024; at += 4) {
    const Note note = decode_note(image.subspan(at).first<4>());
    check(note.period < 4096 && note.instrument < 32 && note.effect < 32);
    check(note.effect != 0 || note.param == 0);
  }

  for (const std::int64_t rate : refused_rates) {
    check(std::holds_alternative<ModuleError>(create_player(image, rate)));
  }
  const std::int64_t rate = played_rates[size % played_rates.size()];
  auto created = create_player(image, rate);
  auto* player = std::get_if<Player>(&created);
  if (player == nullptr) return 0;
  check_player(*player);

  std::array<std::int16_t, chunk_values> chunk{};
  const auto render = [&](int chunks) {
    for (int k = 0; k < chunks; ++k) {
      chunk.fill(0);
      const bool went_on = render_chunk(*player, chunk);
      check_player(*player);
      if (!went_on) return false;
    }
    return true;
  };
  if (!render(chunks_before)) return 0;
  // Ticks run as render_chunk runs them, at a tick's end: the rest of the current tick is skipped.
  player->tick_position = 0;
  for (int k = 0; k < ticks_between; ++k) {
    const bool wrapped = advance_tick(*player);
    check_player(*player);
    if (wrapped) break;
  }
  render(chunks_after);
  return 0;
}
