// screenshot write OUT.bmp: the release's screenshot, the program's 640 x 400 frame (logical
// presentation) at a moment of the scroller act with the invitation's block in view, the
// glyphs' shake drawn from a fixed seed, so that every build writes the same picture.
// screenshot check SHOT.bmp: whether SHOT is exactly that frame, drawn anew here; one line
// says so (status 0) or tells the size or the pixels that differ (status 1).
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string_view>

#include "base/sdl_owners.h"
#include "offline/offline_canvas.h"
#include "text/jitter.h"

namespace {

constexpr int shot_width = 640;
constexpr int shot_height = 400;
// 14 s into the scroller act: the left diagonal of the block (the party, its dates, venue,
// town and country) and the contact line stand whole on the screen.
constexpr double shot_t = 44.0;
constexpr std::uint64_t shot_seed = 2025;

int usage() {
  std::fprintf(stderr, "usage: screenshot write OUT.bmp | screenshot check SHOT.bmp\n");
  return 2;
}

// The frame as 24-bit RGB, which the BMP and the PNG made from it keep exactly.
SurfacePtr draw_shot(const OfflineCanvas& offline) {
  seed_jitter(shot_seed);
  draw_offline_frame(offline, shot_t);
  return SurfacePtr(SDL_ConvertSurfaceFormat(offline.target.get(), SDL_PIXELFORMAT_RGB24, 0));
}

// The red, green and blue bytes of the pixel at (x, y) of an RGB24 surface.
std::span<const std::uint8_t, 3> rgb_at(const SDL_Surface& surface, int x, int y) {
  const auto* row =
      static_cast<const std::uint8_t*>(surface.pixels) + static_cast<std::ptrdiff_t>(y) * surface.pitch;
  return std::span<const std::uint8_t, 3>(row + static_cast<std::ptrdiff_t>(3) * x, 3);
}

int check(const char* path, const SDL_Surface& expected) {
  const SurfacePtr loaded(SDL_LoadBMP(path));
  const SurfacePtr shot(loaded ? SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB24, 0) : nullptr);
  if (!shot) {
    std::printf("%s: not a readable BMP: %s\n", path, SDL_GetError());
    return 1;
  }
  if (shot->w != shot_width || shot->h != shot_height) {
    std::printf("%s: %d x %d, not %d x %d\n", path, shot->w, shot->h, shot_width, shot_height);
    return 1;
  }
  long differing = 0;
  int first_x = -1, first_y = -1;
  for (int y = 0; y < shot_height; ++y) {
    for (int x = 0; x < shot_width; ++x) {
      const auto a = rgb_at(*shot, x, y);
      const auto b = rgb_at(expected, x, y);
      if (a[0] == b[0] && a[1] == b[1] && a[2] == b[2]) continue;
      if (differing++ == 0) first_x = x, first_y = y;
    }
  }
  if (differing > 0) {
    std::printf(
        "%s: %ld pixels differ from the frame at t = %.3f with jitter seed %llu, the first at (%d, %d)\n",
        path, differing, shot_t, static_cast<unsigned long long>(shot_seed), first_x, first_y);
    return 1;
  }
  std::printf("%s: %d x %d, the frame at t = %.3f with jitter seed %llu\n", path, shot_width, shot_height,
              shot_t, static_cast<unsigned long long>(shot_seed));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return usage();
  const std::string_view mode = argv[1];
  if (mode != "write" && mode != "check") return usage();

  SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  int status = 1;
  {
    const std::optional<OfflineCanvas> offline = open_offline_canvas(shot_width, shot_height);
    const SurfacePtr frame = offline ? draw_shot(*offline) : nullptr;
    // The director's console line goes with the frame; the verdict follows on a line of its own.
    std::printf("\n");
    if (!frame) {
      std::fprintf(stderr, "screenshot: %s\n", SDL_GetError());
    } else if (mode == "check") {
      status = check(argv[2], *frame);
    } else if (SDL_SaveBMP(frame.get(), argv[2]) != 0) {
      std::fprintf(stderr, "screenshot: %s: %s\n", argv[2], SDL_GetError());
    } else {
      status = 0;
    }
  }
  SDL_Quit();
  return status;
}
