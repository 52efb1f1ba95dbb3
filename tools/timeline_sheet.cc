// timeline_sheet WIDTH HEIGHT OUT_DIR [T...]: renders the real frames of this program's
// presentation variant at chosen moments (a dozen across the timeline by default) on SDL2's
// software renderer and writes each as OUT_DIR/<variant>_<W>x<H>_t<T>.bmp. The window is a
// hidden window of SDL2's dummy video driver, so no display is needed; its size is the size
// the window would have, and the drawable-size variant lays out against it (offline_canvas.h).
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "offline/offline_canvas.h"
#include "scenes/timeline.h"
#include "timeline_moments.h"

#ifndef HERALD_VARIANT
#define HERALD_VARIANT "frame"
#endif

namespace {

// A moment given by its act: seconds after the act's start, or before its end when negative.
struct ActMoment {
  std::string_view act;
  double offset;
};

// Two to four moments in each act: the logo at rest and bouncing, the wave revealing, the
// marquee, the headline typing and the block passing, the greetings, the closing logo.
constexpr std::array<ActMoment, 16> default_moments{{
    {"logo", 0.001},
    {"logo", 1.5},
    {"logo", 8.0},
    {"logo + wave", 3.0},
    {"logo + wave", 5.0},
    {"logo + wave + marquee", 2.0},
    {"logo + wave + marquee", 8.0},
    {"scroller", 0.5},
    {"scroller", 3.0},
    {"scroller", 15.0},
    {"scroller", -0.5},
    {"greetings", 1.5},
    {"greetings", 7.0},
    {"greetings", 17.0},
    {"closing logo", 0.0},
    {"closing logo", 15.0},
}};

// Computed when the tool is compiled: an act's name that the timeline does not know is an error
// of the build.
constexpr std::array<double, default_moments.size()> default_times = [] {
  std::array<double, default_moments.size()> times{};
  for (std::size_t k = 0; k < default_moments.size(); ++k) {
    const ActMoment& moment = default_moments.at(k);
    const Act& act = acts.at(act_named(moment.act));
    times.at(k) = moment.offset < 0 ? act_end(act) + moment.offset : act.from + moment.offset;
  }
  return times;
}();

// A whole decimal number in 1..100000, or nothing.
std::optional<int> parse_size(const char* text) {
  const std::string_view s(text);
  int value = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (error != std::errc{} || end != s.data() + s.size() || value <= 0 || value > 100000) return std::nullopt;
  return value;
}

int usage() {
  std::fprintf(stderr, "usage: timeline_sheet WIDTH HEIGHT OUT_DIR [T...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return usage();
  const std::optional<int> parsed_width = parse_size(argv[1]);
  const std::optional<int> parsed_height = parse_size(argv[2]);
  if (!parsed_width || !parsed_height) return usage();
  const int width = *parsed_width;
  const int height = *parsed_height;
  const std::string out_dir = argv[3];
  std::vector<double> moments;
  for (int k = 4; k < argc; ++k) moments.push_back(std::strtod(argv[k], nullptr));
  if (moments.empty()) moments.assign(default_times.begin(), default_times.end());

  SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  int status = 0;
  {
    const std::optional<OfflineCanvas> offline = open_offline_canvas(width, height);
    if (!offline) {
      std::fprintf(stderr, "timeline_sheet: %s\n", SDL_GetError());
      status = 1;
    } else {
      for (const double t : moments) {
        draw_offline_frame(*offline, t);
        std::array<char, 96> name{};
        const int length =
            std::snprintf(name.data(), name.size(), "%s_%dx%d_t%07.3f.bmp", HERALD_VARIANT, width, height, t);
        if (length < 0 || static_cast<std::size_t>(length) >= name.size()) {
          std::fprintf(stderr, "timeline_sheet: no file name for t = %g\n", t);
          status = 1;
          break;
        }
        const std::string path = out_dir + "/" + name.data();
        if (SDL_SaveBMP(offline->target.get(), path.c_str()) != 0) {
          std::fprintf(stderr, "timeline_sheet: %s: %s\n", path.c_str(), SDL_GetError());
          status = 1;
          break;
        }
      }
    }
  }
  SDL_Quit();
  return status;
}
