#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// The drawn frame's 8-bit RGB as H.264 wants it: yuv420p in BT.709, limited range (luma 16..235,
// chroma 16..240), each chroma sample the average of its 2 x 2 pixels (centre sited).

struct Yuv420pPlanes {
  std::uint8_t* y;
  std::uint8_t* u;
  std::uint8_t* v;
  std::ptrdiff_t y_pitch;
  std::ptrdiff_t chroma_pitch;
};

// `pixels` holds `height` rows of `width` BGRA pixels (bytes blue, green, red, alpha), `pitch`
// bytes apart; width and height are even.
void bgra_to_yuv420p(std::span<const std::uint8_t> pixels, std::ptrdiff_t pitch, int width, int height,
                     const Yuv420pPlanes& planes);
