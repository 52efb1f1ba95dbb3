#pragma once

#include <cstdint>

#include "base/canvas.h"

// How the 640 x 400 design meets the real window. Each program links exactly one of
// presentation_logical.cc and presentation_drawable.cc; nothing selects between them at run time.

struct CanvasSize {
  std::int32_t width;
  std::int32_t height;
};

inline constexpr std::int32_t design_width = 640;
inline constexpr std::int32_t design_height = 400;

// Called once at start-up, after the renderer exists and before the first frame.
void setup_presentation(const Canvas& canvas);

// The size the scenes lay out against this frame. Never fails: a query that reports nothing
// yields 0 x 0.
CanvasSize presentation_size(const Canvas& canvas);
