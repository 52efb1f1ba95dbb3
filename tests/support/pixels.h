#pragma once

// Reading a canvas back in the render tests: where its ink lies, and where two canvases differ.

#include <algorithm>
#include <optional>

#include "offline/offline_canvas.h"

struct Box {
  int x0, y0, x1, y1;  // half-open [x0, x1) x [y0, y1)
};

struct PixelAt {
  int x, y;
};

inline Box whole_canvas(const OfflineCanvas& canvas) {
  return Box{0, 0, offline_width(canvas), offline_height(canvas)};
}

// The smallest box holding every pixel of `within` that is not the background; empty when there
// is none.
inline std::optional<Box> ink_box(const OfflineCanvas& canvas, Box within, Rgba background) {
  std::optional<Box> box;
  for (int y = within.y0; y < within.y1; ++y) {
    for (int x = within.x0; x < within.x1; ++x) {
      if (offline_pixel(canvas, x, y) == background) continue;
      if (!box) box = Box{x, y, x + 1, y + 1};
      box->x0 = std::min(box->x0, x);
      box->y0 = std::min(box->y0, y);
      box->x1 = std::max(box->x1, x + 1);
      box->y1 = std::max(box->y1, y + 1);
    }
  }
  return box;
}

// The first pixel of `box`, row by row, where `a` differs from `b` moved by (dx, dy): where
// a(x, y) is not b(x - dx, y - dy). Empty when they agree on the whole box.
inline std::optional<PixelAt> first_difference(const OfflineCanvas& a, const OfflineCanvas& b, Box box,
                                               int dx = 0, int dy = 0) {
  for (int y = box.y0; y < box.y1; ++y) {
    for (int x = box.x0; x < box.x1; ++x) {
      if (!(offline_pixel(a, x, y) == offline_pixel(b, x - dx, y - dy))) return PixelAt{x, y};
    }
  }
  return std::nullopt;
}
