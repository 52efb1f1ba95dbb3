#include "music/player.h"

#include <gtest/gtest.h>

#include <vector>

#include "music/lfo.h"
#include "music/module_builder.h"

namespace {

// A module with one looped sample (number 1, 100 words) and the given cells in pattern 0,
// played at every one of the 19 positions unless the order list says otherwise.
std::vector<std::uint8_t> module_with(std::vector<TestCell> cells,
                                      std::vector<std::uint8_t> order = std::vector<std::uint8_t>(19, 0)) {
  TestModule module;
  module.samples = {test_sample(1, 100, 0, 100, {}, 0, 64), test_sample(17, 10, 0, 10, {}, 0, 40)};
  module.cells = std::move(cells);
  module.order = std::move(order);
  return build_module(module);
}

std::vector<std::uint8_t> ordered(int count) {
  std::vector<std::uint8_t> order(19, 0);
  for (int k = 0; k < 19; ++k) order[k] = static_cast<std::uint8_t>(k % count);
  return order;
}

}  // namespace

TEST(Player, StartsWithRowZeroApplied) {
  const auto image = module_with({{0, 0, 1, 428, 1, 0, 0}});
  Player player = make_player(image);
  EXPECT_EQ(player.samples_per_tick, 960);  // tempo 125
  EXPECT_EQ(player.ticks_left, 6);
  EXPECT_EQ(player.row, 0);
  EXPECT_EQ(player.next_row, 1);
  EXPECT_EQ(player.next_song_position, -1);
  const Channel& channel = player.channel_slots[1];
  EXPECT_EQ(channel.current_sample, 1);
  EXPECT_EQ(channel.period, 428);
  // 8287 x 428 / 428 = 8287 Hz; 8287 x 16384 / 48000.
  EXPECT_EQ(channel.increment, 2828u);
  EXPECT_EQ(channel.amplitude, 128);
  // Left, right, right, left.
  EXPECT_EQ(player.channel_slots[0].panning, 0);
  EXPECT_EQ(player.channel_slots[1].panning, 127);
  EXPECT_EQ(player.channel_slots[2].panning, 127);
  EXPECT_EQ(player.channel_slots[3].panning, 0);
  EXPECT_EQ(player.channel_slots[0].current_sample, 0);
}

TEST(Player, SetsSpeedAndTempo) {
  EXPECT_EQ(samples_per_tick_at(48000, 125), 960);
  EXPECT_EQ(samples_per_tick_at(48000, 160), 750);
  EXPECT_EQ(samples_per_tick_at(48000, 32), 3750);
  EXPECT_EQ(samples_per_tick_at(48000, 255), 470);
  const auto image = module_with({{0, 0, 0, 0, 0, 0xF, 0x00},
                                  {0, 1, 0, 0, 0, 0xF, 0x1F},
                                  {0, 2, 0, 0, 0, 0xF, 0x20},
                                  {0, 3, 0, 0, 0, 0xF, 0xFF}});
  Player player = make_player(image);
  EXPECT_EQ(player.speed, 6);  // F00 ignored
  EXPECT_EQ(player.samples_per_tick, 960);
  play_next_row(player);
  EXPECT_EQ(player.speed, 31);
  EXPECT_EQ(player.ticks_left, 31);
  play_next_row(player);
  EXPECT_EQ(player.samples_per_tick, 3750);
  EXPECT_EQ(player.speed, 31);
  // The row at speed 31 took 31 ticks.
  int ticks = 0;
  while (player.row == 2) {
    advance_tick(player);
    ++ticks;
  }
  EXPECT_EQ(ticks, 31);
  EXPECT_EQ(player.samples_per_tick, 470);
}

TEST(Player, PatternBreakReadsItsParameterAsDecimal) {
  for (const auto& [param, row] : {std::pair{0x32, 32}, std::pair{0x64, 0}, std::pair{0x1A, 20},
                                   std::pair{0x00, 0}, std::pair{0x63, 63}}) {
    const auto image = module_with({{0, 5, 2, 0, 0, 0xD, static_cast<std::uint8_t>(param)}}, ordered(2));
    Player player = make_player(image);
    for (int k = 0; k < 5; ++k) play_next_row(player);
    EXPECT_EQ(player.row, 5);
    EXPECT_FALSE(play_next_row(player));
    EXPECT_EQ(player.song_position, 1) << param;
    EXPECT_EQ(player.row, row) << param;
  }
}

TEST(Player, PositionJumpsForwardBackAndBeyondTheSong) {
  // Position 0 jumps to 5; position 5 (pattern 1) jumps back to 2; position 2 (pattern 2) jumps
  // to 30, past the song.
  std::vector<std::uint8_t> order(19, 3);
  order[0] = 0;
  order[5] = 1;
  order[2] = 2;
  const auto image = module_with(
      {{0, 1, 0, 0, 0, 0xB, 5}, {1, 0, 3, 0, 0, 0xB, 2}, {2, 3, 1, 0, 0, 0xB, 30}, {3, 0, 0, 0, 0, 0xB, 3}},
      order);
  Player player = make_player(image);
  play_next_row(player);  // row 1: the jump is pending
  EXPECT_FALSE(play_next_row(player));
  EXPECT_EQ(player.song_position, 5);
  EXPECT_EQ(player.row, 0);
  EXPECT_TRUE(play_next_row(player));  // back to 2
  EXPECT_EQ(player.song_position, 2);
  EXPECT_EQ(player.row, 0);
  for (int k = 0; k < 3; ++k) EXPECT_FALSE(play_next_row(player));
  EXPECT_TRUE(play_next_row(player));  // 30 is past the song: position 0, row 0
  EXPECT_EQ(player.song_position, 0);
  EXPECT_EQ(player.row, 0);

  // A jump to the current position counts as a wrap too.
  std::vector<std::uint8_t> order3(19, 3);
  const auto same = module_with({{3, 0, 0, 0, 0, 0xB, 0}}, order3);
  Player stay = make_player(same);
  EXPECT_TRUE(play_next_row(stay));
  EXPECT_EQ(stay.song_position, 0);
}

TEST(Player, ReportsTheWrapOnlyAfterTheLastRowOfTheLastPosition) {
  const auto image = module_with({});
  Player player = make_player(image);
  for (int position = 0; position < 19; ++position) {
    for (int row = 0; row < 64; ++row) {
      if (position == 0 && row == 0) continue;  // applied by create_player
      ASSERT_FALSE(play_next_row(player)) << position << ":" << row;
      ASSERT_EQ(player.song_position, position);
      ASSERT_EQ(player.row, row);
    }
  }
  EXPECT_TRUE(play_next_row(player));
  EXPECT_EQ(player.song_position, 0);
  EXPECT_EQ(player.row, 0);
  // A shorter song_length wraps sooner.
  Player short_song = make_player(image);
  short_song.song_length = 1;
  for (int row = 1; row < 64; ++row) ASSERT_FALSE(play_next_row(short_song));
  EXPECT_TRUE(play_next_row(short_song));
}

TEST(Player, PatternLoopCountsAndBelongsToOneChannel) {
  // Channel 1 loops rows 2..5 three times in all; channel 3 then loops rows 0..5 four times.
  // While channel 3's loop runs, channel 1's E62 is ignored.
  const auto image =
      module_with({{0, 2, 1, 0, 0, 0xE, 0x60}, {0, 5, 1, 0, 0, 0xE, 0x62}, {0, 5, 3, 0, 0, 0xE, 0x63}});
  Player player = make_player(image);
  std::vector<std::int64_t> rows = {player.row};
  while (rows.size() < 40) {
    play_next_row(player);
    rows.push_back(player.row);
  }
  const std::vector<std::int64_t> expected = {
      0, 1, 2, 3, 4,  5,  2,  3, 4, 5, 2, 3, 4, 5,              // channel 1: E62 plays the section 3 times
      0, 1, 2, 3, 4,  5,  0,  1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5,  // channel 3's E63 ...
      6, 7, 8, 9, 10, 11, 12, 13};
  // ... runs four passes in all: the first began at the end of channel 1's loop.
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(player.loop_count, -1);
}

TEST(Player, PatternLoopStartIsResetByAPositionChange) {
  // Row 10 of position 0 marks a loop start; position 1's E61 at row 5 goes back to row 0.
  const auto image = module_with({{0, 10, 2, 0, 0, 0xE, 0x60}, {1, 5, 2, 0, 0, 0xE, 0x61}}, ordered(2));
  Player player = make_player(image);
  for (int k = 0; k < 64 + 5; ++k) play_next_row(player);
  ASSERT_EQ(player.song_position, 1);
  ASSERT_EQ(player.row, 5);
  play_next_row(player);
  EXPECT_EQ(player.song_position, 1);
  EXPECT_EQ(player.row, 0);
}

TEST(Player, DelaysRetriggersAndCutsNotes) {
  const auto image = module_with({{0, 0, 0, 428, 1, 0xE, 0xD3},     // delayed to tick 3
                                  {0, 0, 1, 428, 1, 0xE, 0x92},     // retrigger every 2 ticks
                                  {0, 0, 2, 428, 1, 0xE, 0xC3},     // cut on tick 3
                                  {0, 0, 3, 428, 17, 0xE, 0xC0}});  // cut on the row
  Player player = make_player(image);
  Channel& delayed = player.channel_slots[0];
  Channel& retriggered = player.channel_slots[1];
  Channel& cut = player.channel_slots[2];
  EXPECT_EQ(delayed.current_sample, 0);
  EXPECT_EQ(cut.volume, 64);
  EXPECT_EQ(player.channel_slots[3].volume, 0);
  EXPECT_EQ(player.channel_slots[3].current_sample, 17);
  std::vector<bool> reset;
  for (int tick = 1; tick < 6; ++tick) {
    retriggered.position = 12345;
    advance_tick(player);
    reset.push_back(retriggered.position == 0);
    EXPECT_EQ(delayed.current_sample, tick >= 3 ? 1 : 0) << tick;
    // Before its trigger the channel has period 0, which plays at the floor pitch of 6848.
    EXPECT_EQ(delayed.increment, tick >= 3 ? 2828u : 176u) << tick;
    EXPECT_EQ(cut.volume, tick >= 3 ? 0 : 64) << tick;
    EXPECT_EQ(cut.amplitude, tick >= 3 ? 0 : 128) << tick;
  }
  EXPECT_EQ(reset, (std::vector<bool>{false, true, false, true, false}));
}

TEST(Player, PatternDelayStretchesTheRow) {
  const auto image = module_with({{0, 0, 2, 0, 0, 0xE, 0xE2}});
  Player player = make_player(image);
  EXPECT_EQ(player.ticks_left, 18);
  int ticks = 1;
  while (player.row == 0) {
    advance_tick(player);
    ++ticks;
  }
  EXPECT_EQ(ticks, 19);  // 18 ticks of row 0, then row 1 began
}

TEST(Player, ArpeggioCyclesBaseHighAndLowNibble) {
  const auto image = module_with({{0, 0, 0, 428, 1, 0x0, 0x37}, {0, 1, 0, 0, 0, 0x0, 0x37}});
  Player player = make_player(image);
  const Channel& channel = player.channel_slots[0];
  std::vector<int> steps = {channel.arpeggio_step};
  std::vector<std::uint64_t> increments = {channel.increment};
  for (int tick = 1; tick < 12; ++tick) {
    advance_tick(player);
    steps.push_back(channel.arpeggio_step);
    increments.push_back(channel.increment);
  }
  EXPECT_EQ(steps, (std::vector<int>{0, 3, 7, 0, 3, 7, 0, 3, 7, 0, 3, 7}));
  // 428 x 3444 / 4096 rounds to 360 and 428 x 2734 / 4096 to 286.
  EXPECT_EQ(increments[1], std::uint64_t{8287 * 428 / 360} * 16384 / 48000);
  EXPECT_EQ(increments[2], std::uint64_t{8287 * 428 / 286} * 16384 / 48000);
  EXPECT_EQ(increments[3], 2828u);
}

TEST(Lfo, EveryShapeReachesItsStatedExtremes) {
  std::int64_t seed = 0xABCDEF;
  EXPECT_EQ(lfo_value(seed, 0, 0), 0);
  EXPECT_EQ(lfo_value(seed, 16, 0), 255);
  EXPECT_EQ(lfo_value(seed, 32, 0), 0);
  EXPECT_EQ(lfo_value(seed, 48, 0), -255);
  EXPECT_EQ(lfo_value(seed, 8 + 64, 4), 180);  // shape and phase are read modulo 4 and 64
  EXPECT_EQ(lfo_value(seed, 0, 1), -1);
  EXPECT_EQ(lfo_value(seed, 31, 1), -249);
  EXPECT_EQ(lfo_value(seed, 32, 1), 255);
  EXPECT_EQ(lfo_value(seed, 63, 1), 7);
  EXPECT_EQ(lfo_value(seed, 0, 2), 255);
  EXPECT_EQ(lfo_value(seed, 31, 2), 255);
  EXPECT_EQ(lfo_value(seed, 32, 2), -257);
  EXPECT_EQ(lfo_value(seed, 63, 2), -257);
  EXPECT_EQ(seed, 0xABCDEF);  // only the random shape moves the seed
  std::vector<std::int64_t> noise;
  noise.reserve(6);
  for (int k = 0; k < 6; ++k) noise.push_back(lfo_value(seed, 0, 3));
  EXPECT_EQ(noise, (std::vector<std::int64_t>{-245, -70, 56, -1, -129, -210}));
  // The range stays inside -255..256.
  for (int k = 0; k < 100000; ++k) {
    const auto v = lfo_value(seed, 0, 7);
    ASSERT_GE(v, -255);
    ASSERT_LE(v, 256);
  }
}

TEST(Lfo, VibratoAndTremoloShareOneSeedAndShiftArithmetically) {
  const auto image = module_with({});
  Player player = make_player(image);
  Channel& a = player.channel_slots[0];
  Channel& b = player.channel_slots[1];
  a.vibrato_shape = 2;
  a.vibrato_phase = 32;
  a.vibrato_depth = 15;
  apply_vibrato(player, a);
  EXPECT_EQ(a.vibrato_offset, -31);  // -257 x 15 >> 7
  a.tremolo_shape = 2;
  a.tremolo_phase = 32;
  a.tremolo_depth = 15;
  apply_tremolo(player, a);
  EXPECT_EQ(a.tremolo_offset, -61);  // -257 x 15 >> 6
  a.vibrato_shape = 3;
  b.tremolo_shape = 3;
  b.tremolo_depth = 15;
  apply_vibrato(player, a);
  apply_tremolo(player, b);
  EXPECT_EQ(a.vibrato_offset, (-245 * 15) >> 7);
  EXPECT_EQ(b.tremolo_offset, (-70 * 15) >> 6);  // the second value of the shared sequence
}

TEST(Player, SlidesPeriodAndVolume) {
  const auto image = module_with({{0, 0, 0, 428, 1, 0xE, 0x13},  // E13: 425
                                  {0, 0, 1, 428, 1, 0xE, 0x24},  // E24: 432
                                  {0, 0, 2, 428, 1, 0xC, 10},    // volume 10 ...
                                  {0, 1, 2, 0, 0, 0xA, 0x0F},    // ... A0F
                                  {0, 0, 3, 428, 1, 0xC, 62},    // volume 62 ...
                                  {0, 1, 3, 0, 0, 0xA, 0x50},    // ... A50
                                  {0, 2, 0, 0, 0, 0x1, 0x10},    // portamento up 16
                                  {0, 2, 1, 0, 0, 0x2, 0xFF}});  // portamento down 255
  Player player = make_player(image);
  EXPECT_EQ(player.channel_slots[0].period, 425);
  EXPECT_EQ(player.channel_slots[1].period, 432);
  play_next_row(player);
  EXPECT_EQ(player.channel_slots[2].volume, 10);  // slides happen between rows only
  advance_tick(player);
  EXPECT_EQ(player.channel_slots[2].volume, 0);
  EXPECT_EQ(player.channel_slots[3].volume, 64);
  for (int k = 0; k < 4; ++k) advance_tick(player);
  EXPECT_EQ(player.channel_slots[2].volume, 0);
  EXPECT_EQ(player.channel_slots[3].volume, 64);
  play_next_row(player);
  for (int k = 0; k < 5; ++k) advance_tick(player);
  EXPECT_EQ(player.channel_slots[0].period, 425 - 5 * 16);
  EXPECT_EQ(player.channel_slots[1].period, 432 + 5 * 255);
}

TEST(Player, TonePortamentoSlidesWithoutRestartingTheSample) {
  const auto image = module_with({{0, 0, 0, 428, 1, 0, 0}, {0, 1, 0, 214, 0, 0x3, 0x08}});
  Player player = make_player(image);
  Channel& channel = player.channel_slots[0];
  for (int k = 0; k < 5; ++k) advance_tick(player);
  channel.position = 777 << 14;
  advance_tick(player);  // row 1
  EXPECT_EQ(channel.position, 777u << 14);
  EXPECT_EQ(channel.period, 428);
  EXPECT_EQ(channel.target_period, 214);
  EXPECT_EQ(channel.porta_speed, 8);
  for (int k = 0; k < 5; ++k) advance_tick(player);
  EXPECT_EQ(channel.period, 428 - 5 * 8);
  channel.period = 220;
  advance_tick(player);  // row 2: no effect
  advance_tick(player);
  EXPECT_EQ(channel.period, 220);
}

TEST(Player, FinetuneAndThePeriodFloor) {
  const auto image = module_with({{0, 0, 0, 428, 1, 0xE, 0x50},  // E50: untuned
                                  {0, 0, 1, 428, 1, 0xE, 0x58},  // E58: index 0, 4340
                                  {0, 0, 2, 13, 1, 0, 0},        // below 14
                                  {0, 0, 3, 428, 17, 0, 0}});    // instrument 17
  Player player = make_player(image);
  EXPECT_EQ(player.channel_slots[0].finetune, 8);
  EXPECT_EQ(player.channel_slots[0].period, 428);
  EXPECT_EQ(player.channel_slots[1].finetune, 0);
  EXPECT_EQ(player.channel_slots[1].period, 453);  // 428 x 4340 / 4096 = 453.5, not above half
  EXPECT_EQ(player.channel_slots[2].period, 13);
  EXPECT_EQ(player.channel_slots[2].increment, std::uint64_t{8287 * 428 / 6848} * 16384 / 48000);
  EXPECT_EQ(player.channel_slots[3].current_sample, 17);
  EXPECT_EQ(player.channel_slots[3].volume, 40);
}
