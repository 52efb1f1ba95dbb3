#include "e2e/image_distance.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace {

constexpr int block = 16;
constexpr int blur_radius = 2;  // in blocks
constexpr int region = 4;       // in blocks
// Every eighth row: a tear elsewhere leaves at most four rows of one block on the wrong side,
// which the blur makes small.
constexpr int tear_step = 8;

std::size_t cell(const BlockGrid& grid, int x, int y, int c) {
  return (static_cast<std::size_t>(y) * static_cast<std::size_t>(grid.width) + static_cast<std::size_t>(x)) *
             3 +
         static_cast<std::size_t>(c);
}

BlockGrid average_blocks(const Picture& picture, bool swap_red_blue) {
  BlockGrid grid;
  grid.width = (picture.width + block - 1) / block;
  grid.height = (picture.height + block - 1) / block;
  grid.rgb.assign(static_cast<std::size_t>(grid.width) * static_cast<std::size_t>(grid.height) * 3, 0.0);
  std::vector<int> counts(grid.rgb.size() / 3, 0);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::size_t p = (static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                             static_cast<std::size_t>(x)) *
                            3;
      const int bx = x / block;
      const int by = y / block;
      grid.rgb[cell(grid, bx, by, 0)] += picture.rgb[swap_red_blue ? p + 2 : p];
      grid.rgb[cell(grid, bx, by, 1)] += picture.rgb[p + 1];
      grid.rgb[cell(grid, bx, by, 2)] += picture.rgb[swap_red_blue ? p : p + 2];
      ++counts[cell(grid, bx, by, 0) / 3];
    }
  }
  for (std::size_t k = 0; k < grid.rgb.size(); ++k) grid.rgb[k] /= counts[k / 3];
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
            sum += in.rgb[cell(in, nx, ny, c)];
            ++n;
          }
        }
        out.rgb[cell(out, x, y, c)] = sum / n;
      }
    }
  }
  return out;
}

}  // namespace

BlockGrid blurred_blocks(const Picture& picture, bool swap_red_blue) {
  return blur(average_blocks(picture, swap_red_blue));
}

double grid_distance(const BlockGrid& a, const BlockGrid& b) {
  double worst = 0;
  for (int ry = 0; ry < a.height; ry += region) {
    for (int rx = 0; rx < a.width; rx += region) {
      double sum = 0;
      int n = 0;
      for (int y = ry; y < std::min(ry + region, a.height); ++y) {
        for (int x = rx; x < std::min(rx + region, a.width); ++x) {
          for (int c = 0; c < 3; ++c) sum += std::fabs(a.rgb[cell(a, x, y, c)] - b.rgb[cell(b, x, y, c)]);
          n += 3;
        }
      }
      worst = std::max(worst, sum / n);
    }
  }
  return worst;
}

Picture torn_picture(const Picture& top, const Picture& bottom, int split) {
  Picture torn = bottom;
  const std::size_t row = static_cast<std::size_t>(top.width) * 3;
  const std::size_t rows = static_cast<std::size_t>(std::clamp(split, 0, top.height));
  std::copy_n(top.rgb.begin(), static_cast<std::ptrdiff_t>(rows * row), torn.rgb.begin());
  return torn;
}

double torn_distance(const BlockGrid& shot, const Picture& earlier, const Picture& later) {
  double closest = std::numeric_limits<double>::infinity();
  for (int split = tear_step; split < later.height; split += tear_step)
    closest =
        std::min(closest, grid_distance(shot, blurred_blocks(torn_picture(later, earlier, split), false)));
  return closest;
}
