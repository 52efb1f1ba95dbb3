// The module the program carries, read back through the module reader and the player: its
// header, sample table, voices and arrangement, the length of the song, and that the committed
// module is exactly what the generator writes from the committed score.

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "music/module.h"
#include "music/module_image.h"
#include "music/player.h"

namespace {

constexpr int channel_count = 4;
constexpr std::size_t sample_data_offset = 7228;

constexpr std::uint64_t fp(std::uint64_t bytes) { return bytes << 14; }

// The cell of `pattern`, `row`, `channel` in the stored pattern data.
std::span<const std::uint8_t, 4> cell_bytes(int pattern, int row, int channel) {
  const std::size_t at = pattern_data_offset + static_cast<std::size_t>(pattern) * pattern_size +
                         static_cast<std::size_t>(row * channel_count + channel) * 4;
  return std::span<const std::uint8_t, 4>(module_image.data() + at, 4);
}

Note cell(int pattern, int row, int channel) { return decode_note(cell_bytes(pattern, row, channel)); }

// The rows of `pattern` on which `channel` starts a note (a cell with a period).
std::vector<int> note_rows(int pattern, int channel) {
  std::vector<int> rows;
  for (int r = 0; r < 64; ++r) {
    if (cell(pattern, r, channel).period != 0) rows.push_back(r);
  }
  return rows;
}

std::vector<int> every(int step, int first = 0) {
  std::vector<int> rows;
  for (int r = first; r < 64; r += step) rows.push_back(r);
  return rows;
}

std::vector<std::uint8_t> read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::array<Sample, 32> sample_table() {
  auto result = read_sample_table(module_image, 6);
  EXPECT_TRUE((std::holds_alternative<std::array<Sample, 32>>(result)));
  return std::get<std::array<Sample, 32>>(result);
}

}  // namespace

TEST(EmbeddedModule, HeaderHoldsTitleOrderListAndSignature) {
  ASSERT_EQ(module_image.size(), 9202u);
  const std::array<std::uint8_t, 20> title{'z', 'a', 'q', 'B', 'r', 'q'};
  EXPECT_TRUE(std::equal(title.begin(), title.end(), module_image.begin()));
  EXPECT_EQ(module_image[950], 19);  // song length
  EXPECT_EQ(module_image[951], 4);   // restart byte
  const std::array<std::uint8_t, 19> played{0, 1, 2, 2, 2, 4, 4, 4, 4, 4, 4, 5, 5, 5, 5, 2, 2, 2, 1};
  EXPECT_TRUE(std::equal(played.begin(), played.end(), module_image.begin() + order_list_offset));
  EXPECT_TRUE(std::all_of(module_image.begin() + order_list_offset + 19,
                          module_image.begin() + order_list_offset + 128,
                          [](std::uint8_t p) { return p == 0; }));
  EXPECT_EQ(std::string(module_image.begin() + 1080, module_image.begin() + 1084), "M.K.");
  // Pattern 3 is stored though never played, so the samples start after six patterns.
  EXPECT_EQ(count_patterns(std::span<const std::uint8_t, 128>(module_image.data() + order_list_offset, 128)),
            6);
}

TEST(EmbeddedModule, SampleTableMatchesTheHeadersFieldByField) {
  struct Expected {
    std::size_t length;  // bytes
    std::uint64_t loop_start, loop_length;
    std::uint8_t volume, finetune;
    const char* name;
  };
  // Lengths and loops in bytes; a one-shot sample loops from its length over nothing.
  const std::array<Expected, 7> expected{{
      {0, 0, 0, 0, 0, ""},                      // entry 0: the silent sample
      {46, 0, 46, 64, 3 ^ 8, "2a03"},           // narrow pulse, whole cycle looped
      {94, 0, 92, 50, 4 ^ 8, "2a03 triangle"},  // triangle, 92 of 94 bytes looped
      {92, 0, 92, 40, 3 ^ 8, "2a03 50"},        // drooping square
      {1148, 1148, 0, 64, 7 ^ 8, "BTAA0D0"},    // bass drum, one-shot
      {0, 0, 0, 64, 7 ^ 8, ""},                 // empty, one-shot, silent
      {594, 594, 0, 64, 7 ^ 8, "HHCD0"},        // hi-hat, one-shot
  }};
  const auto table = sample_table();
  EXPECT_TRUE(table[0].data.empty());
  std::size_t offset = sample_data_offset;
  for (int k = 1; k < 32; ++k) {
    SCOPED_TRACE("sample " + std::to_string(k));
    const Expected e = k < 7 ? expected[k] : Expected{0, 0, 0, 64, 0 ^ 8, ""};
    const Sample& s = table[k];
    EXPECT_EQ(s.loop_start, fp(e.loop_start));
    EXPECT_EQ(s.loop_length, fp(e.loop_length));
    EXPECT_EQ(s.volume, e.volume);
    EXPECT_EQ(s.finetune, e.finetune);
    EXPECT_EQ(s.data.data(), module_image.data() + offset);
    EXPECT_EQ(s.data.size(), module_image.size() - offset);
    const auto* header = module_image.data() + sample_headers_offset + (k - 1) * sample_header_size;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(header)), e.name);
    EXPECT_EQ((header[22] << 8 | header[23]) * 2, static_cast<int>(e.length));
    offset += e.length;
  }
  EXPECT_EQ(offset, module_image.size());  // the samples end exactly at the last byte
}

TEST(EmbeddedModule, WaveformsHaveTheirShapes) {
  const auto table = sample_table();
  auto bytes = [&](int k, std::size_t n) {
    std::vector<int> v;
    v.reserve(n);
    for (std::size_t i = 0; i < n; ++i) v.push_back(static_cast<std::int8_t>(table[k].data[i]));
    return v;
  };
  // Narrow pulse: 38 bytes high and sagging from 26 to about 5, 6 bytes low near -80..-100.
  const auto pulse = bytes(1, 46);
  EXPECT_EQ(pulse[0], 26);
  EXPECT_NEAR(pulse[37], 5, 2);
  EXPECT_TRUE(std::is_sorted(pulse.begin(), pulse.begin() + 38, std::greater<>()));
  EXPECT_TRUE(std::all_of(pulse.begin(), pulse.begin() + 38, [](int v) { return v > 0; }));
  EXPECT_TRUE(std::all_of(pulse.begin() + 40, pulse.end(), [](int v) { return v <= -78 && v >= -102; }));
  // Triangle: from about +125 down to about -121 and back.
  const auto triangle = bytes(2, 94);
  EXPECT_NEAR(*std::max_element(triangle.begin(), triangle.end()), 125, 2);
  EXPECT_NEAR(*std::min_element(triangle.begin(), triangle.end()), -121, 2);
  EXPECT_TRUE(std::is_sorted(triangle.begin(), triangle.begin() + 47, std::greater<>()));
  EXPECT_TRUE(std::is_sorted(triangle.begin() + 47, triangle.end()));
  // Drooping square: 75 falling to about 30, then -80 rising to about -31.
  const auto square = bytes(3, 92);
  EXPECT_EQ(square[0], 75);
  EXPECT_NEAR(square[45], 30, 2);
  EXPECT_EQ(square[46], -80);
  EXPECT_NEAR(square[91], -31, 2);
  // Bass drum: starts from 0, full scale within 25 bytes, about 11 cycles, silent at the end.
  const auto drum = bytes(4, 1148);
  EXPECT_EQ(drum[0], 0);
  EXPECT_GE(*std::max_element(drum.begin(), drum.begin() + 25), 120);
  int rising_zero_crossings = 0;
  for (std::size_t i = 1; i < drum.size(); ++i)
    if (drum[i - 1] < 0 && drum[i] >= 0) ++rising_zero_crossings;
  EXPECT_NEAR(rising_zero_crossings, 11, 1);
  EXPECT_LE(std::abs(drum.back()), 2);
  // Hi-hat: loud noise that decays to nothing over its 594 bytes.
  const auto hat = bytes(6, 594);
  auto energy = [&](std::size_t from, std::size_t to) {
    long sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += long{hat[i]} * hat[i];
    return sum;
  };
  EXPECT_GT(energy(0, 100), 20 * energy(300, 400));
  EXPECT_GT(energy(0, 100), 100L * 30 * 30);
  EXPECT_LE(std::abs(hat.back()), 1);
}

TEST(EmbeddedModule, UsesOnlySetVolumeAndOneTempoChange) {
  int tempo_changes = 0, volume_49 = 0, cuts = 0;
  for (int p = 0; p < 6; ++p) {
    for (int r = 0; r < 64; ++r) {
      for (int c = 0; c < channel_count; ++c) {
        SCOPED_TRACE("pattern " + std::to_string(p) + " row " + std::to_string(r) + " channel " +
                     std::to_string(c));
        const Note n = cell(p, r, c);
        if (n.effect == 0x0F) {
          EXPECT_TRUE(p == 0 && r == 0 && c == 3);
          EXPECT_EQ(n.param, 0xA0);  // tempo 160
          ++tempo_changes;
        } else if (n.effect == 0x0C) {
          EXPECT_TRUE(n.param == 0 || n.param == 49);
          // A cut carries no note: a note at volume 0 would be a silent note, not a cut.
          if (n.param == 0) {
            EXPECT_EQ(n.period, 0);
          }
          (n.param == 0 ? cuts : volume_49) += 1;
        } else {
          EXPECT_EQ(n.effect, 0);
          EXPECT_EQ(n.param, 0);
        }
      }
    }
  }
  EXPECT_EQ(tempo_changes, 1);
  EXPECT_GT(volume_49, 0);
  EXPECT_GT(cuts, 0);
}

TEST(EmbeddedModule, EveryChannelPlaysItsVoiceInItsRange) {
  constexpr std::array<std::uint16_t, 36> tracker_periods{
      856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453, 428, 404, 381, 360, 339, 320,
      302, 285, 269, 254, 240, 226, 214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};
  for (int p = 0; p < 6; ++p) {
    for (int r = 0; r < 64; ++r) {
      for (int c = 0; c < channel_count; ++c) {
        const Note n = cell(p, r, c);
        if (n.period == 0) {
          EXPECT_EQ(n.instrument, 0) << "a sample number without a note, pattern " << p << " row " << r;
          continue;
        }
        SCOPED_TRACE("pattern " + std::to_string(p) + " row " + std::to_string(r) + " channel " +
                     std::to_string(c));
        // In tune: every note is one of the tracker's periods. Every note names its sample, so
        // a note after a cut is heard at the sample's volume again.
        EXPECT_NE(std::find(tracker_periods.begin(), tracker_periods.end(), n.period), tracker_periods.end());
        switch (c) {
          case 0:
            EXPECT_EQ(n.instrument, 1);
            EXPECT_TRUE(n.period >= 170 && n.period <= 381);
            break;
          case 1:
            EXPECT_EQ(n.instrument, 3);
            EXPECT_TRUE(n.period >= 143 && n.period <= 285);
            break;
          case 2:
            EXPECT_TRUE((n.instrument == 4 && n.period == 428) || (n.instrument == 6 && n.period == 214));
            break;
          default:
            EXPECT_EQ(n.instrument, 2);
            EXPECT_TRUE(n.period >= 339 && n.period <= 570);
        }
      }
    }
  }
}

TEST(EmbeddedModule, PatternsAddTheirVoicesOnTheirRows) {
  const std::vector<int> none;
  // Pattern 0: the bass alone, a note a bar.
  EXPECT_EQ(note_rows(0, 0), none);
  EXPECT_EQ(note_rows(0, 1), none);
  EXPECT_EQ(note_rows(0, 2), none);
  EXPECT_EQ(note_rows(0, 3), every(16));
  // Pattern 1: the harmony joins in eighths.
  EXPECT_EQ(note_rows(1, 0), none);
  EXPECT_EQ(note_rows(1, 1), every(2));
  EXPECT_EQ(note_rows(1, 2), none);
  EXPECT_EQ(note_rows(1, 3), every(16));
  // Pattern 2: the bass drum on every beat.
  EXPECT_EQ(note_rows(2, 0), none);
  EXPECT_EQ(note_rows(2, 1), every(2));
  EXPECT_EQ(note_rows(2, 2), every(4));
  EXPECT_EQ(note_rows(2, 3), every(16));
  for (int r : every(4)) EXPECT_EQ(cell(2, r, 2).instrument, 4);
  // Pattern 4: lead and harmony in eighths, drum on the beat, bass on the off-beat.
  EXPECT_EQ(note_rows(4, 0), every(2));
  EXPECT_EQ(note_rows(4, 1), every(2));
  EXPECT_EQ(note_rows(4, 2), every(4));
  EXPECT_EQ(note_rows(4, 3), every(4, 2));
  for (int r : every(4)) EXPECT_EQ(cell(4, r, 2).instrument, 4);
  // Pattern 5: pattern 4 with a hi-hat on every off-beat and on the last row.
  std::vector<int> drums = every(2);
  drums.push_back(63);
  EXPECT_EQ(note_rows(5, 2), drums);
  for (int r = 0; r < 64; ++r) {
    EXPECT_EQ(cell(5, r, 2).instrument, r % 4 == 0 ? 4 : (r % 4 == 2 || r == 63) ? 6 : 0) << "row " << r;
    for (int c : {0, 1, 3}) {
      EXPECT_TRUE(std::ranges::equal(cell_bytes(5, r, c), cell_bytes(4, r, c)))
          << "row " << r << " channel " << c;
    }
    // Pattern 3, never played, shares the harmony and the drums of pattern 4.
    for (int c : {1, 2}) {
      EXPECT_TRUE(std::ranges::equal(cell_bytes(3, r, c), cell_bytes(4, r, c)))
          << "row " << r << " channel " << c;
    }
  }
}

// Plays the song row by row through the player. The song lasts 19 x 64 rows of 6 ticks of 750
// frames, and a voice that has no notes in the pattern being played is silent there, so no
// note of one section drones on into the next.
TEST(EmbeddedModule, PlaysNineteenPatternsAtTempo160WithNoStrayVoice) {
  auto made = create_player(module_image, 48000);
  ASSERT_TRUE(std::holds_alternative<Player>(made));
  auto& player = std::get<Player>(made);
  EXPECT_EQ(player.speed, 6);
  EXPECT_EQ(player.samples_per_tick, 750);
  std::int64_t ticks = 1;  // create_player has played the first tick
  std::int64_t frames = player.samples_per_tick;
  for (;;) {
    const bool new_row = player.ticks_left == 1;
    const bool wrapped = advance_tick(player);
    if (wrapped) break;
    ++ticks;
    frames += player.samples_per_tick;
    EXPECT_EQ(player.samples_per_tick, 750);
    EXPECT_EQ(player.speed, 6);
    if (!new_row) continue;
    const int pattern = module_image[order_list_offset + player.song_position];
    for (int c = 0; c < channel_count; ++c) {
      const Channel& ch = player.channel_slots[c];
      const bool looped = player.sample_table[ch.current_sample].loop_length > 0;
      if (note_rows(pattern, c).empty() && looped) {
        EXPECT_EQ(ch.amplitude, 0) << "position " << player.song_position << " row " << player.row
                                   << " channel " << c;
      }
    }
  }
  EXPECT_EQ(ticks, 19 * 64 * 6);
  EXPECT_EQ(frames, 5'472'000);
}

namespace {

// Runs a program with its arguments, no shell in between (paths may hold any character), and
// returns its exit status, or -1 when it could not start or did not exit by itself.
int run_program(std::vector<std::string> args) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace

// The committed module is exactly what the generator writes from the committed score, and the
// program carries exactly that module: nobody edits the output by hand.
TEST(EmbeddedModule, IsWhatTheGeneratorWritesFromTheScore) {
  const std::filesystem::path output =
      std::filesystem::path(HERALD_TEST_OUTPUT_DIR) / "zaqbrq_regenerated.mod";
  (void)std::filesystem::remove(output);
  ASSERT_EQ(run_program({HERALD_MAKE_MODULE, HERALD_MODULE_SCORE, output.string()}), 0)
      << HERALD_MAKE_MODULE << " " << HERALD_MODULE_SCORE << " " << output.string();
  const auto regenerated = read_file(output);
  const auto committed = read_file(HERALD_MODULE_FILE);
  ASSERT_EQ(committed.size(), module_image.size());
  EXPECT_TRUE(regenerated == committed);
  EXPECT_TRUE(std::equal(committed.begin(), committed.end(), module_image.begin()));
}
