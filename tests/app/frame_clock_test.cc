#include "app/frame_clock.h"

#include <gtest/gtest.h>

#include "app/frame_loop.h"

TEST(FrameClock, ElapsedTimeIsWholeMillisecondsWithBorrow) {
  // Nanoseconds of the reading below those of the start: one second is borrowed.
  EXPECT_EQ(elapsed_seconds({100, 900'000'000}, {101, 100'000'000}), 0.2);
  EXPECT_EQ(elapsed_seconds({100, 0}, {100, 0}), 0.0);
  // Sub-millisecond remainders are dropped, never rounded up.
  EXPECT_EQ(elapsed_seconds({100, 0}, {100, 1'999'999}), 0.001);
  EXPECT_EQ(elapsed_seconds({100, 500'000'000}, {212, 499'999'999}), 111.999);
  EXPECT_EQ(elapsed_seconds({0, 0}, {114, 0}), 114.0);
}

TEST(FrameClock, MillisecondCountWrapsAtTwoToThe32) {
  // 2^32 ms is 4 294 967.296 s: one millisecond later the count starts again from 0.
  EXPECT_EQ(elapsed_seconds({0, 0}, {4'294'967, 297'000'000}), 0.001);
  EXPECT_EQ(elapsed_seconds({0, 0}, {4'294'967, 295'000'000}), 4294967.295);
}

TEST(FrameClock, ClockSetBackBeforeStartHasNoTime) {
  EXPECT_FALSE(elapsed_seconds({100, 0}, {99, 999'999'999}).has_value());
  EXPECT_FALSE(elapsed_seconds({100, 500}, {100, 499}).has_value());
  EXPECT_TRUE(elapsed_seconds({100, 500}, {100, 500}).has_value());
}

// The design's run limit, typed here on purpose: the checks of whole runs ask the timeline tool.
TEST(FrameClock, RunLimitDraws114AndStopsAfter) {
  EXPECT_FALSE(past_run_limit(*elapsed_seconds({0, 0}, {114, 0})));
  EXPECT_FALSE(past_run_limit(*elapsed_seconds({0, 0}, {114, 999'999})));
  EXPECT_TRUE(past_run_limit(*elapsed_seconds({0, 0}, {114, 1'000'000})));
}

TEST(FrameClock, WallClockReadsAreMonotonicEnoughToForm_t) {
  const Instant start = read_wall_clock();
  const Instant now = read_wall_clock();
  ASSERT_TRUE(elapsed_seconds(start, now).has_value());
  EXPECT_LT(*elapsed_seconds(start, now), 1.0);
  EXPECT_GE(start.nanoseconds, 0);
  EXPECT_LT(start.nanoseconds, 1'000'000'000);
}

TEST(FramePauseDeathTest, LoopEndsFatallyWhenTheClockGoesBack) {
  // A start instant far in the future looks exactly like a wall clock set back.
  const Instant future{read_wall_clock().seconds + 3600, 0};
  EXPECT_EXIT(run_frame_loop(Canvas{nullptr, nullptr}, TextureCreator{nullptr}, future),
              testing::ExitedWithCode(1), "");
}
