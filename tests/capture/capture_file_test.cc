// Captures of short ranges read back with FFmpeg's own decoders: the lossless file must hold
// exactly the frames the program's draw_frame draws offline at the frames' moments with the same
// seed, and exactly the song; the upload file must have the streams video sites take.
#include <SDL.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "capture/capture_plan.h"
#include "capture/capture_run.h"
#include "capture/media_file.h"
#include "music/mixer.h"
#include "music/module_image.h"
#include "music/player.h"
#include "offline/offline_canvas.h"
#include "offline/presentation_switch.h"
#include "text/jitter.h"

namespace {

constexpr std::uint64_t seed = 20250101;

const std::vector<std::int16_t>& song() {
  static const std::vector<std::int16_t> rendered = [] {
    auto player = create_player(module_image, capture_sample_rate);
    return render_song(std::get<Player>(player));
  }();
  return rendered;
}

// The sample the program plays at song index n: the song but its last sample, then silence.
std::int16_t played_sample(std::int64_t n) {
  const auto index = static_cast<std::size_t>(n);
  return index + 1 < song().size() ? song()[index] : std::int16_t{0};
}

// Draws the frame with standard output sent to /dev/null: draw_frame writes the console time
// line with every frame, and the test's own output is clearer without a few hundred of them.
void draw_quietly(const OfflineCanvas& offline, double t) {
  ASSERT_EQ(std::fflush(stdout), 0);
  const int saved = dup(STDOUT_FILENO);
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  ASSERT_TRUE(saved >= 0 && null >= 0 && dup2(null, STDOUT_FILENO) == STDOUT_FILENO);
  draw_offline_frame(offline, t);
  dup2(saved, STDOUT_FILENO);
  close(saved);
  close(null);
}

// The frames the capture must hold, drawn here the way the capture draws them.
class OfflineFrames : public testing::Test {
 protected:
  void SetUp() override {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  }
  void TearDown() override { SDL_Quit(); }

  // The colour bytes of the frame at t_ms (the fourth byte of each pixel is padding in the file).
  static std::vector<std::uint8_t> expected_frame(Presentation presentation, int width, int height,
                                                  std::int64_t t_ms) {
    choose_presentation(presentation);
    const std::optional<OfflineCanvas> offline = open_offline_canvas(width, height);
    if (!offline) return {};
    seed_jitter(frame_jitter_seed(seed, t_ms));
    draw_quietly(*offline, static_cast<double>(t_ms) / 1000.0);
    const std::span<const std::uint8_t> pixels = offline_pixels(*offline);
    const int pitch = offline->target->pitch;
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(width) * 4 * height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width * 4; ++x) {
        frame[static_cast<std::size_t>(y) * width * 4 + x] =
            x % 4 == 3 ? 0 : pixels[static_cast<std::size_t>(y) * pitch + x];
      }
    }
    return frame;
  }

  static std::vector<std::uint8_t> colour_bytes(std::vector<std::uint8_t> frame) {
    for (std::size_t k = 3; k < frame.size(); k += 4) frame[k] = 0;
    return frame;
  }
};

struct ActRange {
  const char* from;
  const char* to;
  std::int64_t from_ms;
  Presentation presentation;
};

TEST_F(OfflineFrames, LosslessCapture_HoldsTheProgramsFramesAndSongExactly) {
  // A second in each act, at a rate whose frame times need rounding to whole milliseconds, at an
  // odd size; each presentation in two acts. The last range holds the song's end and the silence.
  constexpr int width = 161;
  constexpr int height = 101;
  constexpr std::int64_t fps = 12;
  const std::vector<ActRange> ranges = {{"20", "21", 20'000, Presentation::logical},
                                        {"45", "46", 45'000, Presentation::drawable},
                                        {"70", "71", 70'000, Presentation::logical},
                                        {"113", "114", 113'000, Presentation::drawable}};
  for (const ActRange& range : ranges) {
    SCOPED_TRACE(std::string("range ") + range.from + " to " + range.to);
    const ScratchDirectory dir;
    const bool logical = range.presentation == Presentation::logical;
    const CaptureRun run =
        run_capture({"--codec", "ffv1", "--size", "161x101", "--fps", "12", "--from", range.from, "--to",
                     range.to, "--seed", std::to_string(seed), "--presentation",
                     logical ? "logical" : "drawable", "--output", "act.mkv"},
                    dir.path);
    ASSERT_EQ(describe_status(run.status), "exit 0") << run.error_text;
    const MediaFile media = read_media((dir.path / "act.mkv").string(), true);
    ASSERT_EQ(media.error, "");
    EXPECT_EQ(media.video.codec, "ffv1");
    EXPECT_EQ(media.audio.codec, "flac");

    const CapturePlan plan = plan_capture(range.from_ms, range.from_ms + 1000, fps);
    ASSERT_EQ(media.video.frames.size(), 12u) << "frames decoded";
    ASSERT_EQ(media.video.frame_ms.size(), 12u) << "frame times decoded";
    for (std::int64_t j = 0; j < plan.frame_count; ++j) {
      const auto index = static_cast<std::size_t>(j);
      EXPECT_EQ(media.video.frame_ms[index], frame_time_ms(j, fps)) << "time of frame " << j;
      const std::int64_t t_ms = frame_time_ms(plan.first_frame + j, fps);
      const std::vector<std::uint8_t> expected = expected_frame(range.presentation, width, height, t_ms);
      const std::vector<std::uint8_t> decoded = colour_bytes(media.video.frames[index]);
      ASSERT_EQ(decoded.size(), expected.size()) << "frame " << j;
      std::size_t first_difference = 0;
      while (first_difference < decoded.size() && decoded[first_difference] == expected[first_difference]) {
        ++first_difference;
      }
      EXPECT_EQ(first_difference, decoded.size())
          << "frame " << j << " (t = " << t_ms << " ms) differs from the offline frame at pixel "
          << first_difference / 4 % width << "," << first_difference / 4 / width;
    }

    ASSERT_EQ(media.audio.samples.size(), 48'000u) << "samples decoded";
    for (std::size_t n = 0; n < media.audio.samples.size(); ++n) {
      const std::int64_t song_index = range.from_ms * 48 + static_cast<std::int64_t>(n);
      ASSERT_EQ(media.audio.samples[n], played_sample(song_index))
          << "sample " << n << " (song index " << song_index << ")";
    }
  }
}

TEST(SeededCapture, SameSeed_SameFile_OtherSeed_OtherFile) {
  // The scroller's glyphs shake, so the seed shows in every frame.
  const ScratchDirectory dir;
  const auto capture = [&dir](const char* seed_text, const char* output) {
    return run_capture({"--codec", "ffv1", "--size", "160x100", "--fps", "10", "--from", "40", "--to", "40.3",
                        "--seed", seed_text, "--output", output},
                       dir.path);
  };
  for (const auto& [seed_text, output] :
       {std::pair{"7", "first.mkv"}, {"7", "again.mkv"}, {"8", "other.mkv"}}) {
    const CaptureRun run = capture(seed_text, output);
    ASSERT_EQ(describe_status(run.status), "exit 0") << run.error_text;
  }
  const auto bytes = [&dir](const char* name) {
    std::ifstream in(dir.path / name, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  EXPECT_TRUE(bytes("first.mkv") == bytes("again.mkv")) << "two captures with seed 7 differ";
  EXPECT_FALSE(bytes("first.mkv") == bytes("other.mkv")) << "captures with seeds 7 and 8 are the same";
}

TEST(PresentationCapture, OnlyTheLogicalFrameHasBars) {
  // At 320 x 180 the 640 x 400 design scales by 0.45 to 288 x 180, centred: 16 columns of bars on
  // each side. At t = 25 the wave covers the whole design, so it reaches both edges of the
  // drawable frame but stops at the bars of the logical one.
  const ScratchDirectory dir;
  for (const char* presentation : {"logical", "drawable"}) {
    const CaptureRun run =
        run_capture({"--codec", "ffv1", "--size", "320x180", "--fps", "10", "--from", "25", "--to", "25.1",
                     "--presentation", presentation, "--output", std::string(presentation) + ".mkv"},
                    dir.path);
    ASSERT_EQ(describe_status(run.status), "exit 0") << run.error_text;
  }
  const MediaFile logical = read_media((dir.path / "logical.mkv").string(), true);
  const MediaFile drawable = read_media((dir.path / "drawable.mkv").string(), true);
  ASSERT_EQ(logical.video.frames.size(), 1u);
  ASSERT_EQ(drawable.video.frames.size(), 1u);
  const auto column_is_background = [](const std::vector<std::uint8_t>& frame, int x) {
    for (int y = 0; y < 180; ++y) {
      const std::size_t at = (static_cast<std::size_t>(y) * 320 + static_cast<std::size_t>(x)) * 4;
      if (frame[at] != 12 || frame[at + 1] != 12 || frame[at + 2] != 12) return false;
    }
    return true;
  };
  for (const int x : {0, 15, 304, 319}) {
    EXPECT_TRUE(column_is_background(logical.video.frames[0], x))
        << "logical column " << x << " is not a bar";
    EXPECT_FALSE(column_is_background(drawable.video.frames[0], x)) << "drawable column " << x << " is empty";
  }
  for (const int x : {16, 303}) {
    EXPECT_FALSE(column_is_background(logical.video.frames[0], x)) << "logical column " << x << " is empty";
  }
}

TEST_F(OfflineFrames, UploadCapture_H264AndAacOfTheRangesLength_InTheFramesColours) {
  // The wave act: the logo, the wave and the marquee do not shake, so the frames do not depend on
  // the seed.
  const ScratchDirectory dir;
  const CaptureRun run = run_capture(
      {"--size", "320x180", "--fps", "30", "--from", "25", "--to", "26.5", "--output", "preview.mp4"},
      dir.path);
  ASSERT_EQ(describe_status(run.status), "exit 0") << run.error_text;
  const MediaFile media = read_media((dir.path / "preview.mp4").string(), true);
  ASSERT_EQ(media.error, "");
  EXPECT_EQ(media.video.codec, "h264");
  EXPECT_EQ(media.video.pixel_format, "yuv420p");
  EXPECT_EQ(media.video.width, 320);
  EXPECT_EQ(media.video.height, 180);
  EXPECT_EQ(media.video.fps_num, media.video.fps_den * 30)
      << media.video.fps_num << "/" << media.video.fps_den;
  EXPECT_EQ(media.audio.codec, "aac");
  EXPECT_EQ(media.audio.sample_rate, 48'000);
  EXPECT_EQ(media.audio.channels, 1);
  const double frame = 1.0 / 30.0;
  EXPECT_NEAR(media.duration, 1.5, frame);
  EXPECT_NEAR(media.video.duration, 1.5, frame);
  EXPECT_NEAR(media.audio.duration, 1.5, frame);
  ASSERT_EQ(media.video.frames.size(), 45u) << "frames decoded";

  // Lossy and with a quarter of the colour resolution, but in the frame's colours: over 8 x 8
  // blocks, each channel read back is within a few steps of the drawn frame on average (a mixed-up
  // matrix, range or channel order is off by tens).
  const std::vector<std::uint8_t> expected = expected_frame(Presentation::logical, 320, 180, 25'000);
  ASSERT_EQ(expected.size(), media.video.frames[0].size());
  const auto block_mean = [](const std::vector<std::uint8_t>& pixels, int bx, int by, int channel) {
    int sum = 0;
    for (int y = by * 8; y < by * 8 + 8; ++y) {
      for (int x = bx * 8; x < bx * 8 + 8; ++x)
        sum += pixels[(static_cast<std::size_t>(y) * 320 + x) * 4 + channel];
    }
    return sum / 64.0;
  };
  for (int channel = 0; channel < 3; ++channel) {
    double difference = 0.0;
    int blocks = 0;
    for (int by = 0; by < 180 / 8; ++by) {
      for (int bx = 0; bx < 320 / 8; ++bx, ++blocks) {
        difference += std::abs(block_mean(media.video.frames[0], bx, by, channel) -
                               block_mean(expected, bx, by, channel));
      }
    }
    EXPECT_LT(difference / blocks, 2.0) << "mean difference of channel "
                                        << "bgr"[channel] << " from the drawn frame over 8 x 8 blocks";
  }
}

}  // namespace
