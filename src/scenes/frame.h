#pragma once

#include <cstdint>

#include "base/canvas.h"

// What every scene of one frame receives. Scenes keep nothing between frames: the picture is
// a pure function of t, the canvas size and the glyph jitter.
struct Frame {
  const Canvas& canvas;
  const TextureCreator& creator;
  double t;                   // elapsed seconds, whole milliseconds
  std::uint32_t width;        // W, never negative
  std::uint32_t height;       // H, never negative
  std::uint32_t text_colour;  // 0xAABBGGRR, the same for every glyph of the frame
};
