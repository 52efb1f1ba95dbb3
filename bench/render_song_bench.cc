// The song's pre-render, the program's start-up delay: player creation, the mix of the whole
// embedded song at 48000 Hz and its downmix to mono. Reports the peak resident set size of
// the process as a counter.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <variant>
#include <vector>

#include "music/mixer.h"
#include "music/module_image.h"
#include "music/player.h"

namespace {

double peak_rss_megabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in kilobytes
}

void BM_RenderSong(benchmark::State& state) {
  std::size_t samples = 0;
  for (auto _ : state) {
    auto player = create_player(module_image, 48000);
    std::vector<std::int16_t> song = render_song(std::get<Player>(player));
    samples = song.size();
    benchmark::DoNotOptimize(song.data());
  }
  state.counters["song_samples"] = static_cast<double>(samples);
  state.counters["peak_rss_MB"] = peak_rss_megabytes();
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(samples));
}
BENCHMARK(BM_RenderSong)->Unit(benchmark::kMillisecond);

// The ticks alone, without mixing: what reserving the song in one allocation costs.
void BM_CountSongChunks(benchmark::State& state) {
  const Player player = std::get<Player>(create_player(module_image, 48000));
  for (auto _ : state) {
    benchmark::DoNotOptimize(count_song_chunks(player));
  }
}
BENCHMARK(BM_CountSongChunks)->Unit(benchmark::kMillisecond);

// The downmix alone, over a whole stereo song's worth of values.
void BM_DownmixToMono(benchmark::State& state) {
  std::vector<std::int16_t> stereo(10'940'416);
  for (std::size_t k = 0; k < stereo.size(); ++k) stereo[k] = static_cast<std::int16_t>(k * 7919);
  for (auto _ : state) {
    auto mono = downmix_to_mono(stereo);
    benchmark::DoNotOptimize(mono.data());
  }
}
BENCHMARK(BM_DownmixToMono)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
