// Milliseconds per frame of each act (at its middle) on SDL2's software renderer, at the design
// size and, for the drawable-size program, at 1920 x 1080 and 3840 x 2160; and the wave's pixel
// fill alone.
// The frames are drawn as draw_frame draws them (clear, then the scenes active at t), without
// the console line.
#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "offline/offline_canvas.h"
#include "scenes/colour_phase.h"
#include "scenes/frame.h"
#include "scenes/timeline.h"
#include "scenes/wave_fill.h"
#include "timeline_moments.h"

namespace {

void draw_act(benchmark::State& state) {
  const double t = act_middle(acts.at(static_cast<std::size_t>(state.range(0))));
  const int w = static_cast<int>(state.range(1));
  const int h = static_cast<int>(state.range(2));
  const std::optional<OfflineCanvas> target = open_windowless_canvas(w, h);
  if (!target) {
    state.SkipWithError("no software canvas");
    return;
  }
  const Canvas canvas = canvas_of(*target);
  const TextureCreator creator = creator_of(*target);
  const auto width = static_cast<std::uint32_t>(w);
  const auto height = static_cast<std::uint32_t>(h);
  const Frame frame{canvas, creator, t, width, height, text_colour(t)};
  for (auto _ : state) {
    clear_offline_canvas(*target, {12, 12, 12, 255});
    for (const Scene scene : active_scenes(t)) scene(frame);
    benchmark::DoNotOptimize(offline_pixel(*target, 0, 0));
  }
  state.SetLabel("t=" + std::to_string(t).substr(0, 5));
}

void wave_fill_alone(benchmark::State& state) {
  const auto w = static_cast<std::uint32_t>(state.range(0));
  const auto h = static_cast<std::uint32_t>(state.range(1));
  std::vector<std::uint8_t> pixels(4 * static_cast<std::size_t>(w) * h);
  // The second half of the act with the whole wave and the marquee, a millisecond a frame.
  const Act& act = acts.at(act_named("logo + wave + marquee"));
  double t = act_middle(act);
  for (auto _ : state) {
    fill_wave(pixels, 4 * static_cast<std::size_t>(w), w, h, t);
    benchmark::DoNotOptimize(pixels.data());
    t += 0.001;
    if (t >= act.until) t = act_middle(act);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 4 * w * h);
}

void act_sizes(benchmark::internal::Benchmark* b) {
  for (std::int64_t act = 0; act < static_cast<std::int64_t>(acts.size()); ++act) {
    b->Args({act, 640, 400});
    b->Args({act, 1920, 1080});
    b->Args({act, 3840, 2160});
  }
}

}  // namespace

BENCHMARK(draw_act)->Apply(act_sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(wave_fill_alone)
    ->Args({640, 400})
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
