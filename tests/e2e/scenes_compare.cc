// scenes_compare SHOT.bmp REF.bmp...: how far a screenshot of the real window is from frames
// rendered offline, up to the glyphs' random jitter and a frame or two of timing.
//
// Prints one line "match D swapped S best REF": D is the distance to the closest reference REF,
// S the distance to the closest reference with its red and blue bytes exchanged. The text
// colour is (v, 64, 255 - v) on a grey background, so the exchange is the same picture in the
// mirrored colour phase; a screenshot that really matches has S well above D.
//
// The distance: both pictures are averaged over 16 x 16 pixel blocks, the block grid is blurred
// over 5 x 5 blocks, and the grid is cut into regions of 4 x 4 blocks (64 x 64 pixels). The
// distance is the largest mean absolute difference (0 to 255, over the blocks and the three
// colour bytes) of any region. The wide blur hides where a glyph shook to (a few pixels), and
// taking the worst region keeps a missing line of text or a misplaced logo from being diluted
// by the rest of the screen. Two renders of one moment differ by under 1 through the jitter
// alone; one erased bottom line of the greetings gives about 7, a missing logo about 13.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <limits>
#include <vector>

#include "base/sdl_owners.h"

namespace {

constexpr int block = 16;
constexpr int blur_radius = 2;  // in blocks
constexpr int region = 4;       // in blocks

// Per-block averages of red, green and blue, row by row.
struct BlockGrid {
  int width = 0;
  int height = 0;
  std::vector<double> rgb;
  double& at(int x, int y, int c) { return rgb[(static_cast<std::size_t>(y) * width + x) * 3 + c]; }
  double at(int x, int y, int c) const { return rgb[(static_cast<std::size_t>(y) * width + x) * 3 + c]; }
};

SurfacePtr load_rgba(const char* path) {
  SurfacePtr loaded(SDL_LoadBMP(path));
  if (!loaded) return nullptr;
  // ABGR8888 keeps the bytes in memory as red, green, blue, alpha.
  return SurfacePtr(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ABGR8888, 0));
}

BlockGrid average_blocks(const SDL_Surface& surface, bool swap_red_blue) {
  BlockGrid grid;
  grid.width = (surface.w + block - 1) / block;
  grid.height = (surface.h + block - 1) / block;
  grid.rgb.assign(static_cast<std::size_t>(grid.width) * grid.height * 3, 0.0);
  std::vector<int> counts(static_cast<std::size_t>(grid.width) * grid.height, 0);
  for (int y = 0; y < surface.h; ++y) {
    const auto* row =
        static_cast<const std::uint8_t*>(surface.pixels) + static_cast<std::ptrdiff_t>(y) * surface.pitch;
    for (int x = 0; x < surface.w; ++x) {
      const std::uint8_t* p = row + static_cast<std::ptrdiff_t>(4) * x;
      const int bx = x / block;
      const int by = y / block;
      grid.at(bx, by, 0) += swap_red_blue ? p[2] : p[0];
      grid.at(bx, by, 1) += p[1];
      grid.at(bx, by, 2) += swap_red_blue ? p[0] : p[2];
      ++counts[static_cast<std::size_t>(by) * grid.width + bx];
    }
  }
  for (int by = 0; by < grid.height; ++by) {
    for (int bx = 0; bx < grid.width; ++bx) {
      const int n = counts[static_cast<std::size_t>(by) * grid.width + bx];
      for (int c = 0; c < 3; ++c) grid.at(bx, by, c) /= n;
    }
  }
  return grid;
}

// Mean over the (2 r + 1) x (2 r + 1) neighbourhood that lies inside the grid.
BlockGrid blur(const BlockGrid& in) {
  BlockGrid out = in;
  for (int y = 0; y < in.height; ++y) {
    for (int x = 0; x < in.width; ++x) {
      for (int c = 0; c < 3; ++c) {
        double sum = 0;
        int n = 0;
        for (int dy = -blur_radius; dy <= blur_radius; ++dy) {
          for (int dx = -blur_radius; dx <= blur_radius; ++dx) {
            const int nx = x + dx;
            const int ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= in.width || ny >= in.height) continue;
            sum += in.at(nx, ny, c);
            ++n;
          }
        }
        out.at(x, y, c) = sum / n;
      }
    }
  }
  return out;
}

double worst_region(const BlockGrid& a, const BlockGrid& b) {
  double worst = 0;
  for (int ry = 0; ry < a.height; ry += region) {
    for (int rx = 0; rx < a.width; rx += region) {
      double sum = 0;
      int n = 0;
      for (int y = ry; y < std::min(ry + region, a.height); ++y) {
        for (int x = rx; x < std::min(rx + region, a.width); ++x) {
          for (int c = 0; c < 3; ++c) sum += std::fabs(a.at(x, y, c) - b.at(x, y, c));
          n += 3;
        }
      }
      worst = std::max(worst, sum / n);
    }
  }
  return worst;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: scenes_compare SHOT.bmp REF.bmp...\n");
    return 2;
  }
  const SurfacePtr shot = load_rgba(argv[1]);
  if (!shot) {
    std::fprintf(stderr, "scenes_compare: %s: %s\n", argv[1], SDL_GetError());
    return 2;
  }
  const BlockGrid shot_grid = blur(average_blocks(*shot, false));
  double match = std::numeric_limits<double>::infinity();
  double swapped = std::numeric_limits<double>::infinity();
  const char* best = argv[2];
  for (int k = 2; k < argc; ++k) {
    const SurfacePtr ref = load_rgba(argv[k]);
    if (!ref) {
      std::fprintf(stderr, "scenes_compare: %s: %s\n", argv[k], SDL_GetError());
      return 2;
    }
    if (ref->w != shot->w || ref->h != shot->h) {
      std::fprintf(stderr, "scenes_compare: %s is %dx%d, the screenshot %dx%d\n", argv[k], ref->w, ref->h,
                   shot->w, shot->h);
      return 2;
    }
    const double distance = worst_region(shot_grid, blur(average_blocks(*ref, false)));
    if (distance < match) {
      match = distance;
      best = argv[k];
    }
    swapped = std::min(swapped, worst_region(shot_grid, blur(average_blocks(*ref, true))));
  }
  std::printf("match %.3f swapped %.3f best %s\n", match, swapped, best);
  return 0;
}
