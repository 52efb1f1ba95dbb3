#include "scenes/director.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "app/presentation.h"
#include "scenes/colour_phase.h"
#include "scenes/console_line.h"
#include "scenes/scenes.h"
#include "scenes/timeline.h"
#include "support/pixels.h"
#include "text/jitter.h"

TEST(ConsoleLine, ShortestRoundTripFixedNotation) {
  const std::string tail = "\x1b[F\n";
  EXPECT_EQ(console_time_line(0.001), "Time: 0.001" + tail);
  EXPECT_EQ(console_time_line(30.0), "Time: 30" + tail);
  EXPECT_EQ(console_time_line(12.5), "Time: 12.5" + tail);
  EXPECT_EQ(console_time_line(62.25), "Time: 62.25" + tail);
  EXPECT_EQ(console_time_line(114.0), "Time: 114" + tail);
  EXPECT_EQ(console_time_line(0.0), "Time: 0" + tail);
  // Millisecond steps that are not exact in binary still print with at most three decimals.
  EXPECT_EQ(console_time_line(113.999), "Time: 113.999" + tail);
  EXPECT_EQ(console_time_line(8.492), "Time: 8.492" + tail);
  const std::string line = console_time_line(0.001);
  EXPECT_EQ(line.substr(line.size() - 4), std::string("\x1b\x5b\x46\x0a"));
}

TEST(ColourPhase, TriangleWaveFromBlueToOrangeRed) {
  EXPECT_EQ(colour_phase(0.001), 0u);
  EXPECT_EQ(text_colour(0.001), 0xFFFF4000u);  // (0, 64, 255)
  EXPECT_EQ(colour_phase(1.0), 60u);
  EXPECT_EQ(text_colour(1.0), 0xFFC3403Cu);
  EXPECT_EQ(colour_phase(4.25), 255u);
  EXPECT_EQ(text_colour(4.25), 0xFF0040FFu);
  EXPECT_EQ(colour_phase(5.0), 210u);
  EXPECT_EQ(text_colour(5.0), 0xFF2D40D2u);
  // fmod gives 509.52: rounds to 510, which is v = 0 again.
  EXPECT_EQ(colour_phase(8.492), 0u);
  EXPECT_EQ(colour_phase(8.5), 0u);
  EXPECT_EQ(text_colour(8.5), 0xFFFF4000u);
  // A half rounds away from zero: 60 t = 128.5 gives 129.
  EXPECT_EQ(colour_phase(128.5 / 60.0), 129u);
}

namespace {
std::vector<Scene> scenes_at(double t) {
  const auto span = active_scenes(t);
  return {span.begin(), span.end()};
}
}  // namespace

// The acts' bounds and the run limit as the design gives them, typed here on purpose: this test
// pins the timeline, which every other check asks for its acts (timeline_moments).
TEST(Timeline, WindowsIncludeTheirLowerBound) {
  using V = std::vector<Scene>;
  EXPECT_EQ(scenes_at(0.0), V{draw_logo});
  EXPECT_EQ(scenes_at(0.001), V{draw_logo});
  EXPECT_EQ(scenes_at(11.999), V{draw_logo});
  EXPECT_EQ(scenes_at(12.0), (V{draw_logo, draw_wave}));
  EXPECT_EQ(scenes_at(17.999), (V{draw_logo, draw_wave}));
  EXPECT_EQ(scenes_at(18.0), (V{draw_logo, draw_wave, draw_marquee}));
  EXPECT_EQ(scenes_at(29.999), (V{draw_logo, draw_wave, draw_marquee}));
  EXPECT_EQ(scenes_at(30.0), V{draw_scroller});
  EXPECT_EQ(scenes_at(62.999), V{draw_scroller});
  EXPECT_EQ(scenes_at(63.0), V{draw_greetings});
  EXPECT_EQ(scenes_at(89.999), V{draw_greetings});
  EXPECT_EQ(scenes_at(90.0), V{draw_logo});
  EXPECT_EQ(scenes_at(114.0), V{draw_logo});
}

TEST(DrawFrame, ClearsToBackgroundAndWritesTheTimeLine) {
  const std::optional<OfflineCanvas> target = open_windowless_canvas(64, 40);
  ASSERT_TRUE(target) << SDL_GetError();
  clear_offline_canvas(*target, {200, 100, 50, 255});
  const Canvas canvas = canvas_of(*target);
  const TextureCreator creator = creator_of(*target);
  testing::internal::CaptureStdout();
  draw_frame(canvas, creator, 0.001);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "Time: 0.001\x1b[F\n");
  for (const auto& [x, y] : {std::pair{0, 0}, {63, 39}, {63, 0}, {0, 39}}) {
    EXPECT_EQ(offline_pixel(*target, x, y), (Rgba{12, 12, 12, 255})) << x << "," << y;
  }
}

namespace {

// Two 640 x 400 canvases with the logical presentation of the program that fixes that size.
struct FramePair {
  FramePair() {
    setup_presentation(canvas_of(program));
    clear_offline_canvas(by_hand, {12, 12, 12, 255});
  }
  // The scenes called by hand, in the given order, on a cleared canvas.
  void draw_by_hand(double t, const std::vector<Scene>& scenes) const {
    clear_offline_canvas(by_hand, {12, 12, 12, 255});
    const Canvas canvas = canvas_of(by_hand);
    const TextureCreator creator = creator_of(by_hand);
    const Frame frame{canvas, creator, t, 640, 400, text_colour(t)};
    for (const Scene scene : scenes) scene(frame);
  }
  bool anything_drawn_by_hand() const {
    return ink_box(by_hand, Box{0, 0, 640, 400}, Rgba{12, 12, 12, 255}).has_value();
  }
  bool same() const { return !first_difference(program, by_hand, Box{0, 0, 640, 400}).has_value(); }
  OfflineCanvas program = open_windowless_canvas(640, 400).value();
  OfflineCanvas by_hand = open_windowless_canvas(640, 400).value();
};

}  // namespace

TEST(DrawFrame, EachActShowsItsScenesAndOnlyThoseLayeredInOrder) {
  hold_jitter({0});
  struct Act {
    double t;
    std::vector<Scene> scenes;
  };
  const std::vector<Act> acts = {
      {5.0, {draw_logo}},      {15.0, {draw_logo, draw_wave}}, {20.0, {draw_logo, draw_wave, draw_marquee}},
      {45.0, {draw_scroller}}, {72.0, {draw_greetings}},       {100.0, {draw_logo}}};
  for (const Act& act : acts) {
    FramePair pair;
    testing::internal::CaptureStdout();
    draw_frame(canvas_of(pair.program), creator_of(pair.program), act.t);
    testing::internal::GetCapturedStdout();
    // Every scene of the act shows something on its own, so the frame equals their stack only
    // if each of them, and nothing else, was drawn.
    for (const Scene scene : act.scenes) {
      pair.draw_by_hand(act.t, {scene});
      EXPECT_TRUE(pair.anything_drawn_by_hand())
          << "t = " << act.t << ": expected each scene to show on its own";
    }
    pair.draw_by_hand(act.t, act.scenes);
    EXPECT_TRUE(pair.same()) << "t = " << act.t << ": expected the act's scenes stacked in order";
  }
  // At 20 s the logo passes under the half-transparent wave and the marquee runs over both:
  // any other stacking shows differently.
  FramePair pair;
  testing::internal::CaptureStdout();
  draw_frame(canvas_of(pair.program), creator_of(pair.program), 20.0);
  testing::internal::GetCapturedStdout();
  pair.draw_by_hand(20.0, {draw_wave, draw_logo, draw_marquee});
  EXPECT_FALSE(pair.same()) << "expected the logo under the wave at t = 20";
  pair.draw_by_hand(20.0, {draw_logo, draw_marquee, draw_wave});
  EXPECT_FALSE(pair.same()) << "expected the marquee over the wave at t = 20";
  hold_jitter({});
}

TEST(DrawFrameDeathTest, FailedConsoleWriteIsFatal) {
  EXPECT_EXIT(
      {
        // Standard output on a full device: the line's flush fails with ENOSPC. If the device
        // cannot be put there, the child ends normally and the test fails.
        const int full = open("/dev/full", O_WRONLY);
        if (full >= 0 && dup2(full, STDOUT_FILENO) == STDOUT_FILENO) write_console_line(1.0);
      },
      testing::ExitedWithCode(1), "");
}
