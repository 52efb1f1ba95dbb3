#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// The wave backdrop's pixels at t, with no SDL2: a colour field below a moving sine line,
// revealed from the right edge between 12 s and 22 s.

struct WaveShape {
  double cut;    // columns left of this stay transparent
  double phase;  // the sine line's shift in pixels
  double half;   // half the canvas height
};

WaveShape wave_shape(double t, std::uint32_t width, std::uint32_t height);

// The sine line's height in column i: rows 0 ... line are transparent.
std::uint64_t wave_line(const WaveShape& shape, std::uint32_t column, std::uint32_t width);

// Fills a width x height image of bytes red, green, blue, alpha, `pitch` bytes per row
// (at least 4 x width), every byte of every pixel. `pixels` must hold pitch x height bytes.
void fill_wave(std::span<std::uint8_t> pixels, std::size_t pitch, std::uint32_t width, std::uint32_t height,
               double t);
