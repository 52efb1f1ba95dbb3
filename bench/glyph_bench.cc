// Cost of the glyph path: one 100-character line drawn glyph by glyph on the software
// renderer, reported per glyph.

#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "offline/offline_canvas.h"
#include "text/glyph_draw.h"
#include "text/utf8.h"

namespace {

void BM_DrawGlyphLine(benchmark::State& state) {
  const std::optional<OfflineCanvas> canvas = open_windowless_canvas(640, 400);
  if (!canvas) {
    state.SkipWithError("no software renderer");
    return;
  }
  std::string line;
  const std::string words = "Pls come to VeXal 2025, 30CHF paid on-site: we did 90% onsite at glarnwickfest ";
  while (line.size() < 100) line += words;
  line.resize(100);
  for (auto _ : state) {
    TextCursor cursor{line.data(), line.data() + line.size()};
    double pen = 0;
    for (std::uint32_t c = next_code_point(cursor); c != end_of_text; c = next_code_point(cursor)) {
      pen += draw_glyph(canvas_of(*canvas), creator_of(*canvas), Font::main, c, 0xFF3740C8, pen - 320, 4, 200,
                        Jitter{-2, 2, -3, 3});
    }
    SDL_RenderFlush(canvas->renderer.get());
    benchmark::DoNotOptimize(pen);
  }
  state.SetItemsProcessed(state.iterations() * 100);
  // Millions of glyphs per second, inverted: microseconds per glyph.
  state.counters["us_per_glyph"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * 100 * 1e-6,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DrawGlyphLine)->Unit(benchmark::kMicrosecond);

}  // namespace
