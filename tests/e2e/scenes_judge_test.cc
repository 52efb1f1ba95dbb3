// The screenshot judge's pieces: which frames may be on a shot, the verdict's thresholds and its
// line, and the distance on frames the program really draws.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "e2e/image_distance.h"
#include "e2e/shot_verdict.h"
#include "offline/offline_canvas.h"
#include "offline/presentation_switch.h"

namespace {

TEST(CandidateTimes, ReachBackThreeLinesAndFiftyMillisecondsAndKeepTheLinesDuringTheShot) {
  const std::vector<double> before{0.9, 0.95, 1.0, 1.016, 1.033, 1.05};
  const std::vector<double> during{1.066, 1.05, 1.083};
  // The third line back is 1.016: from 0.966 on, each time once, in order.
  EXPECT_EQ(candidate_times(before, during), (std::vector<double>{1.0, 1.016, 1.033, 1.05, 1.066, 1.083}));
  // With fewer lines before the shot, the first of them is the reference.
  EXPECT_EQ(candidate_times(std::vector<double>{2.0}, std::vector<double>{}), (std::vector<double>{2.0}));
  EXPECT_EQ(candidate_times(std::vector<double>{1.9, 2.0}, std::vector<double>{2.1}),
            (std::vector<double>{1.9, 2.0, 2.1}));
  EXPECT_TRUE(candidate_times({}, std::vector<double>{1.0, 1.1}).empty());
}

TEST(CandidateTimes, KeepAtMostTwentyFourSpreadEvenlyFromFirstToLast) {
  std::vector<double> during;
  for (int ms = 1001; ms <= 1100; ++ms) during.push_back(ms / 1000.0);
  const std::vector<double> picked = candidate_times(std::vector<double>{0.998, 0.999, 1.0}, during);
  ASSERT_EQ(picked.size(), 24u);
  EXPECT_EQ(picked.front(), 0.998);
  EXPECT_EQ(picked.back(), 1.1);
  for (std::size_t k = 1; k < picked.size(); ++k) {
    // 103 times a millisecond apart in 23 steps: every step is 4 or 5 of them.
    EXPECT_GE(picked[k] - picked[k - 1], 0.0039);
    EXPECT_LE(picked[k] - picked[k - 1], 0.0051);
  }
}

TEST(ShotVerdict, PrintsWhatItComparedAndPassesAClearMatch) {
  const std::vector<double> times{4.15, 4.166};
  const ShotVerdict verdict =
      judge_shot({"logo", 800, 600, times, 38.25}, {0.5, 9.0, 12.25, 7.0, std::nullopt});
  EXPECT_EQ(
      verdict.line,
      "logo at 800x600, 2 frames in t 4.15..4.166: match 0.500, mirrored phase 9.000, act at t=38.25 12.250, "
      "other layout 7.000");
  EXPECT_EQ(verdict.note, "");
  EXPECT_EQ(verdict.failures, "");
}

TEST(ShotVerdict, HoldsTheMatchLimitAndTheDifferLimitScaledByTheMatch) {
  const std::vector<double> times{4.15};
  // A match of 2 is still one, as printed; above it is not.
  EXPECT_EQ(
      judge_shot({"a", 640, 400, times, 38.25}, {2.0004, 6.0, 6.0, std::nullopt, std::nullopt}).failures, "");
  EXPECT_EQ(judge_shot({"a", 640, 400, times, 38.25}, {2.001, 9.0, 9.0, std::nullopt, std::nullopt}).failures,
            "expected the offline frame in the window (distance at most 2), saw distance 2.001");
  // Every other frame must be at least 4 away, and at least three times the match.
  EXPECT_EQ(judge_shot({"a", 640, 400, times, 38.25}, {0.5, 4.0, 4.0, std::nullopt, std::nullopt}).failures,
            "");
  EXPECT_EQ(judge_shot({"a", 800, 600, times, 38.25}, {1.5, 4.5, 4.499, 4.4, std::nullopt}).failures,
            "expected a frame of another act (t=38.25) to differ (distance at least 4.5), saw 4.499; "
            "expected the other presentation's layout to differ (distance at least 4.5), saw 4.400");
  EXPECT_EQ(judge_shot({"a", 640, 400, times, 38.25}, {0.5, 3.9, 8.0, std::nullopt, std::nullopt}).failures,
            "expected the mirrored colour phase to differ (distance at least 4), saw 3.900");
  // A shot torn between two frames matches when the torn pair does, and the others must differ
  // from that match.
  const ShotVerdict torn = judge_shot({"a", 640, 400, times, 38.25}, {3.601, 8.0, 4.0, std::nullopt, 0.11});
  EXPECT_EQ(torn.line,
            "a at 640x400, 1 frames in t 4.15..4.15: match 3.601, torn 0.110, mirrored phase 8.000, act at "
            "t=38.25 4.000");
  EXPECT_EQ(torn.failures, "");
  EXPECT_EQ(
      judge_shot({"a", 640, 400, times, 38.25}, {3.601, 60.0, 60.0, std::nullopt, 2.5}).failures,
      "expected the offline frame in the window (distance at most 2), saw distance 3.601 (torn between two "
      "frames 2.500)");
}

TEST(ShotVerdict, LeavesTheMirroredPhaseOutOnlyNearTheMiddleOfTheSwing) {
  // v = 127 at t = 2.117 and 2.133; every candidate counts: one near the middle is enough.
  const std::vector<double> middle{4.15, 2.117};
  const ShotVerdict near =
      judge_shot({"wave", 640, 400, middle, 25.5}, {0.5, 0.6, 8.0, std::nullopt, std::nullopt});
  EXPECT_EQ(near.failures, "");
  EXPECT_EQ(near.note, "wave: the colour phase is near its middle; the mirrored comparison is not required");
  // v = 48 at t = 0.8 is 79.5 from the middle, v = 47 at t = 0.783 is 80.5 away.
  EXPECT_EQ(
      judge_shot({"w", 640, 400, std::vector<double>{0.8}, 25.5}, {0.5, 0.6, 8.0, std::nullopt, std::nullopt})
          .failures,
      "");
  EXPECT_NE(judge_shot({"w", 640, 400, std::vector<double>{0.783}, 25.5},
                       {0.5, 0.6, 8.0, std::nullopt, std::nullopt})
                .failures,
            "");
}

class ImageDistance : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  }
  static void TearDownTestSuite() { SDL_Quit(); }

  // The program's frame at t, as the judge reads it: red, green and blue bytes.
  static Picture frame(double t) {
    choose_presentation(Presentation::logical);
    const std::optional<OfflineCanvas> offline = open_offline_canvas(640, 400);
    if (!offline) return {};
    draw_offline_frame(*offline, t);
    const SDL_Surface& surface = *offline->target;
    Picture picture{surface.w, surface.h, {}};
    for (int y = 0; y < surface.h; ++y) {
      for (int x = 0; x < surface.w; ++x) {
        std::uint32_t pixel = 0;
        SDL_memcpy(&pixel,
                   static_cast<const std::uint8_t*>(surface.pixels) + std::ptrdiff_t{y} * surface.pitch +
                       std::ptrdiff_t{4} * x,
                   4);
        std::uint8_t r = 0;
        std::uint8_t g = 0;
        std::uint8_t b = 0;
        SDL_GetRGB(pixel, surface.format, &r, &g, &b);
        picture.rgb.insert(picture.rgb.end(), {r, g, b});
      }
    }
    return picture;
  }
};

TEST_F(ImageDistance, TellsTheJitterFromAnotherActTheMirroredPhaseAndOneChangedRegion) {
  const Picture shot = frame(4.15);
  ASSERT_EQ(shot.rgb.size(), std::size_t{640} * 400 * 3);
  const BlockGrid grid = blurred_blocks(shot, false);
  // Another render of the same moment differs by the glyphs' jitter alone.
  EXPECT_LT(grid_distance(grid, blurred_blocks(frame(4.15), false)), 1.0);
  // The scroller at the same phase, and the same frame with the phase mirrored, are far off.
  EXPECT_GT(grid_distance(grid, blurred_blocks(frame(38.25), false)), 4.0);
  EXPECT_GT(grid_distance(grid, blurred_blocks(shot, true)), 4.0);
  EXPECT_EQ(grid_distance(blurred_blocks(shot, true), blurred_blocks(shot, true)), 0.0);
  // One 64 x 64 square turned white in a corner, 1.6 % of the picture, still counts in full:
  // the worst region decides, not the mean over the screen.
  Picture marked = shot;
  for (int y = 336; y < 400; ++y) {
    for (int x = 0; x < 64; ++x) {
      for (int c = 0; c < 3; ++c) marked.rgb[(static_cast<std::size_t>(y) * 640 + x) * 3 + c] = 255;
    }
  }
  EXPECT_GT(grid_distance(grid, blurred_blocks(marked, false)), 40.0);
}

TEST_F(ImageDistance, FindsAShotTornBetweenTwoFramesWithTheNewerRowsAbove) {
  // The marquee 80 ms apart (a frame on a busy machine), the later frame's top 204 rows over the
  // earlier one: about 3 from either whole frame, a clear miss, but close to the torn pair.
  const Picture earlier = frame(21.5);
  const Picture later = frame(21.58);
  const BlockGrid shot = blurred_blocks(torn_picture(later, earlier, 204), false);
  EXPECT_GT(grid_distance(shot, blurred_blocks(earlier, false)), 2.5);
  EXPECT_GT(grid_distance(shot, blurred_blocks(later, false)), 2.5);
  EXPECT_LT(torn_distance(shot, earlier, later), 0.5);
  // The older frame's rows over the newer ones is not how a window tears.
  EXPECT_GT(torn_distance(shot, later, earlier), 2.5);
}

}  // namespace
