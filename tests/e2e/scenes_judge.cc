// scenes_judge [--keep DIR] logical|drawable NAME SHOT.bmp OTHER_T [BEFORE_T...] -- [DURING_T...]
// Judges a screenshot of the real window of the program of that presentation: it renders the
// frames that may be on it (from the times of the console lines written before and during the
// shot, shot_verdict.h) offline at the screenshot's size, as the program draws them, and
// compares. The shot must show one of them (or two of them one after the other, torn at a row),
// and clearly not the frame of another act at OTHER_T, the mirrored colour phase, nor (off the
// design size) the other presentation's layout.
//
// Prints the verdict line (and a note when a check is left out). When a check fails, one line
// "FAIL: NAME: ..." on standard error and exit status 1; a refused argument or an unreadable file
// exits with status 2. With --keep the screenshot and the closest offline frame are written to
// DIR as PROGRAM_NAME_shot.png and PROGRAM_NAME_offline.png.
#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "app/presentation.h"
#include "base/sdl_owners.h"
#include "e2e/image_distance.h"
#include "e2e/png_file.h"
#include "e2e/shot_verdict.h"
#include "offline/offline_canvas.h"
#include "offline/presentation_switch.h"

namespace {

struct Arguments {
  std::string keep;
  Presentation presentation = Presentation::logical;
  std::string name;
  std::string shot;
  double other_t = 0;
  std::vector<double> before;
  std::vector<double> during;
};

std::optional<double> parse_time(const char* text) {
  char* end = nullptr;
  const double t = std::strtod(text, &end);
  if (end == text || *end != '\0' || !(t >= 0)) return std::nullopt;
  return t;
}

std::optional<Arguments> parse(int argc, char** argv) {
  Arguments args;
  int k = 1;
  if (k + 1 < argc && std::string_view(argv[k]) == "--keep") {
    args.keep = argv[k + 1];
    k += 2;
  }
  if (argc - k < 5) return std::nullopt;
  const std::optional<Presentation> presentation = presentation_named(argv[k]);
  if (!presentation) return std::nullopt;
  args.presentation = *presentation;
  args.name = argv[k + 1];
  args.shot = argv[k + 2];
  const std::optional<double> other_t = parse_time(argv[k + 3]);
  if (!other_t) return std::nullopt;
  args.other_t = *other_t;
  bool seen_dashes = false;
  for (k += 4; k < argc; ++k) {
    if (std::string_view(argv[k]) == "--" && !seen_dashes) {
      seen_dashes = true;
      continue;
    }
    const std::optional<double> t = parse_time(argv[k]);
    if (!t) return std::nullopt;
    (seen_dashes ? args.during : args.before).push_back(*t);
  }
  if (!seen_dashes) return std::nullopt;
  return args;
}

Picture picture_of(SDL_Surface& surface) {
  // ABGR8888 keeps the bytes in memory as red, green, blue, alpha.
  const SurfacePtr rgba(SDL_ConvertSurfaceFormat(&surface, SDL_PIXELFORMAT_ABGR8888, 0));
  Picture picture{surface.w, surface.h, {}};
  if (!rgba) return picture;
  picture.rgb.reserve(static_cast<std::size_t>(surface.w) * static_cast<std::size_t>(surface.h) * 3);
  for (int y = 0; y < rgba->h; ++y) {
    const auto* row =
        static_cast<const std::uint8_t*>(rgba->pixels) + static_cast<std::ptrdiff_t>(y) * rgba->pitch;
    for (std::ptrdiff_t x = 0; x < rgba->w; ++x)
      picture.rgb.insert(picture.rgb.end(), row + 4 * x, row + 4 * x + 3);
  }
  return picture;
}

// Draws the frames at the given times offline, at the shot's size in one presentation, and
// hands each to `visit` in order; false when a frame could not be drawn.
template <typename Visit>
bool render_frames(int width, int height, Presentation presentation, const std::vector<double>& times,
                   Visit&& visit) {
  choose_presentation(presentation);
  const std::optional<OfflineCanvas> offline = open_offline_canvas(width, height);
  if (!offline) return false;
  for (const double t : times) {
    draw_offline_frame(*offline, t);
    Picture frame = picture_of(*offline->target);
    if (frame.rgb.empty()) return false;
    visit(std::move(frame));
  }
  return true;
}

// The closest of the frames at the given times in one presentation, plainly and with the
// colour phase mirrored; the closest frame itself is kept.
struct Closest {
  double plain = std::numeric_limits<double>::infinity();
  double mirrored = std::numeric_limits<double>::infinity();
  Picture best;
};

std::optional<Closest> closest_frame(const BlockGrid& shot, int width, int height, Presentation presentation,
                                     const std::vector<double>& times) {
  Closest closest;
  const bool drawn = render_frames(width, height, presentation, times, [&](Picture frame) {
    const double plain = grid_distance(shot, blurred_blocks(frame, false));
    closest.mirrored = std::min(closest.mirrored, grid_distance(shot, blurred_blocks(frame, true)));
    if (plain < closest.plain) {
      closest.plain = plain;
      closest.best = std::move(frame);
    }
  });
  if (!drawn) return std::nullopt;
  return closest;
}

// The closest of the candidates torn between one and the next (torn_distance), for a shot that
// shows no whole frame: a busy display can serve a screenshot while the window is half way from
// one frame to the next.
std::optional<double> closest_torn(const BlockGrid& shot, int width, int height, Presentation presentation,
                                   const std::vector<double>& times) {
  double closest = std::numeric_limits<double>::infinity();
  Picture earlier;
  const bool drawn = render_frames(width, height, presentation, times, [&](Picture later) {
    if (!earlier.rgb.empty()) closest = std::min(closest, torn_distance(shot, earlier, later));
    earlier = std::move(later);
  });
  if (!drawn) return std::nullopt;
  return closest;
}

const char* program_of(Presentation presentation) {
  return presentation == Presentation::logical ? "vexal25-herald" : "vexal25-herald-drawable";
}

int usage() {
  std::fprintf(stderr,
               "usage: scenes_judge [--keep DIR] logical|drawable NAME SHOT.bmp OTHER_T [BEFORE_T...] -- "
               "[DURING_T...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Arguments> args = parse(argc, argv);
  if (!args) return usage();
  const std::vector<double> times = candidate_times(args->before, args->during);
  if (times.empty()) {
    std::fprintf(stderr, "FAIL: %s: no console line before the shot\n", args->name.c_str());
    return 1;
  }

  SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "scenes_judge: %s\n", SDL_GetError());
    return 2;
  }
  const SurfacePtr loaded(SDL_LoadBMP(args->shot.c_str()));
  if (!loaded) {
    std::fprintf(stderr, "scenes_judge: %s: %s\n", args->shot.c_str(), SDL_GetError());
    return 2;
  }
  const Picture shot = picture_of(*loaded);
  const int width = shot.width;
  const int height = shot.height;
  const BlockGrid shot_grid = blurred_blocks(shot, false);

  // draw_frame writes the console time line of every frame it draws; here it goes nowhere, and
  // standard output keeps the verdict alone.
  if (std::fflush(stdout) != 0) return 2;
  const int saved_stdout = dup(STDOUT_FILENO);
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (saved_stdout < 0 || null < 0 || dup2(null, STDOUT_FILENO) < 0) return 2;
  close(null);
  const Presentation other =
      args->presentation == Presentation::logical ? Presentation::drawable : Presentation::logical;
  const std::optional<Closest> own = closest_frame(shot_grid, width, height, args->presentation, times);
  const std::optional<Closest> other_act =
      closest_frame(shot_grid, width, height, args->presentation, std::vector<double>{args->other_t});
  std::optional<Closest> other_layout;
  const bool design_size = width == design_width && height == design_height;
  if (!design_size) other_layout = closest_frame(shot_grid, width, height, other, times);
  std::optional<double> torn;
  const bool torn_wanted = own && own->plain > match_limit && times.size() > 1;
  if (torn_wanted) torn = closest_torn(shot_grid, width, height, args->presentation, times);
  if (std::fflush(stdout) != 0) return 2;
  if (dup2(saved_stdout, STDOUT_FILENO) < 0) return 2;
  close(saved_stdout);
  if (!own || !other_act || (!design_size && !other_layout) || (torn_wanted && !torn)) {
    std::fprintf(stderr, "scenes_judge: no offline frame at %dx%d: %s\n", width, height, SDL_GetError());
    return 2;
  }

  const ShotFacts facts{args->name, width, height, times, args->other_t};
  const ShotDistances distances{own->plain, own->mirrored, other_act->plain,
                                other_layout ? std::optional<double>(other_layout->plain) : std::nullopt,
                                torn};
  const ShotVerdict verdict = judge_shot(facts, distances);
  std::printf("%s\n", verdict.line.c_str());
  if (!verdict.note.empty()) std::printf("%s\n", verdict.note.c_str());
  if (std::fflush(stdout) != 0) return 2;

  int status = 0;
  if (!args->keep.empty()) {
    const std::string prefix = args->keep + "/" + program_of(args->presentation) + "_" + args->name;
    std::error_code error;
    std::filesystem::create_directories(args->keep, error);
    if (error || !write_png(prefix + "_shot.png", shot) || !write_png(prefix + "_offline.png", own->best)) {
      std::fprintf(stderr, "scenes_judge: cannot write %s_*.png\n", prefix.c_str());
      status = 2;
    }
  }
  if (!verdict.failures.empty()) {
    std::fprintf(stderr, "FAIL: %s: %s\n", args->name.c_str(), verdict.failures.c_str());
    status = 1;
  }
  SDL_Quit();
  return status;
}
