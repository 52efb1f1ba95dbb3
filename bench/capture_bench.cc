// Frames per second of the capture at 1920 x 1080: the whole pipeline (drawing on this thread,
// encoding and writing on the other) over two seconds of each act, in both codecs, and the two
// stages of the drawing thread alone, the logical-size frame and its conversion to yuv420p.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <string>
#include <variant>
#include <vector>

#include "capture/capture.h"
#include "capture/capture_plan.h"
#include "capture/options.h"
#include "capture/yuv420p.h"
#include "music/mixer.h"
#include "music/module_image.h"
#include "music/player.h"
#include "offline/offline_canvas.h"
#include "offline/presentation_switch.h"
#include "scenes/timeline.h"
#include "timeline_moments.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {

// The middle of the act, in whole milliseconds.
std::int64_t act_middle_ms(std::int64_t act) {
  return std::llround(act_middle(acts.at(static_cast<std::size_t>(act))) * 1000.0);
}

const std::vector<std::int16_t>& song() {
  static const std::vector<std::int16_t> rendered = [] {
    auto player = create_player(module_image, capture_sample_rate);
    return render_song(std::get<Player>(player));
  }();
  return rendered;
}

double peak_rss_megabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

CaptureOptions full_hd(Codec codec) {
  CaptureOptions options;
  options.codec = codec;
  return options;
}

void BM_CaptureAct(benchmark::State& state) {
  const std::int64_t from_ms = act_middle_ms(state.range(0));
  const CaptureOptions options = full_hd(state.range(1) == 0 ? Codec::h264 : Codec::ffv1);
  const CapturePlan plan = plan_capture(from_ms, from_ms + 2000, options.fps);
  const std::string path =
      "/tmp/capture_bench_" + std::to_string(getpid()) + (options.codec == Codec::h264 ? ".mp4" : ".mkv");
  choose_presentation(Presentation::logical);
  for (auto _ : state) {
    if (auto error = capture_video(options, plan, 1, song(), path, nullptr)) {
      state.SkipWithError(error->c_str());
      break;
    }
  }
  unlink(path.c_str());
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * plan.frame_count);
  state.counters["peak_rss_MB"] = peak_rss_megabytes();
  state.SetLabel(std::string(options.codec == Codec::h264 ? "h264" : "ffv1") +
                 " t=" + std::to_string(from_ms / 1000));
}

void BM_DrawLogicalFrame(benchmark::State& state) {
  const std::int64_t t_ms = act_middle_ms(state.range(0));
  choose_presentation(Presentation::logical);
  const std::optional<OfflineCanvas> offline = open_offline_canvas(1920, 1080);
  if (!offline) {
    state.SkipWithError("no offline canvas");
    return;
  }
  std::int64_t k = 0;
  for (auto _ : state) {
    draw_offline_frame(*offline, static_cast<double>(t_ms + (k++ % 1000)) / 1000.0);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
  state.SetLabel("t=" + std::to_string(t_ms / 1000));
}

void BM_ConvertToYuv420p(benchmark::State& state) {
  constexpr int width = 1920;
  constexpr int height = 1080;
  std::vector<std::uint8_t> pixels(std::size_t{width} * height * 4);
  for (std::size_t k = 0; k < pixels.size(); ++k) pixels[k] = static_cast<std::uint8_t>(k * 31 % 251);
  std::vector<std::uint8_t> y(std::size_t{width} * height);
  std::vector<std::uint8_t> u(y.size() / 4);
  std::vector<std::uint8_t> v(y.size() / 4);
  const Yuv420pPlanes planes{y.data(), u.data(), v.data(), width, width / 2};
  for (auto _ : state) {
    bgra_to_yuv420p(pixels, std::ptrdiff_t{width} * 4, width, height, planes);
    benchmark::DoNotOptimize(y.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

}  // namespace

BENCHMARK(BM_CaptureAct)
    ->ArgsProduct({benchmark::CreateDenseRange(0, static_cast<std::int64_t>(acts.size()) - 1, 1), {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
BENCHMARK(BM_DrawLogicalFrame)
    ->DenseRange(0, static_cast<int>(acts.size()) - 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertToYuv420p)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  benchmark::Initialize(&argc, argv);
  av_log_set_level(AV_LOG_WARNING);  // no encoder statistics between the figures
  // draw_frame writes the console time line with every frame, to standard output: it goes to
  // /dev/null here, and the figures to standard error.
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null < 0 || dup2(null, STDOUT_FILENO) != STDOUT_FILENO) return 1;
  close(null);
  benchmark::ConsoleReporter reporter(benchmark::ConsoleReporter::OO_Tabular);
  reporter.SetOutputStream(&std::cerr);
  reporter.SetErrorStream(&std::cerr);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  SDL_Quit();
  return 0;
}
