#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>
#include <span>

#include "base/canvas.h"
#include "base/sdl_owners.h"

// The program's canvas without a display: SDL2's software renderer drawing into a memory surface,
// for the tools that write frames and for the tests and benchmarks that read pixels back.
struct OfflineCanvas {
  WindowPtr window;  // empty on a canvas opened without a window
  SurfacePtr target;
  RendererPtr renderer;
};

// Pixels are 32-bit ARGB8888 words: bytes blue, green, red, alpha in memory on the little-endian
// hosts the tools run on, which FFmpeg reads as bgra or bgr0 without a conversion.
inline constexpr std::uint32_t offline_pixel_format = SDL_PIXELFORMAT_ARGB8888;

// One pixel of the canvas as its four channels.
struct Rgba {
  std::uint8_t r, g, b, a;
  bool operator==(const Rgba&) const = default;
};

// The memory surface and its renderer alone, for drawing glyphs and scenes by hand: no window,
// no video subsystem and no presentation. Empty when SDL2 refuses one of the two (SDL_GetError
// says why).
std::optional<OfflineCanvas> open_windowless_canvas(int width, int height);

// The canvas of a whole frame: beside the surface a hidden window of the same size stands for the
// window the frame would be shown in (the drawable-size presentation lays out against it), and
// the presentation is set up as the program does at start-up. The video subsystem must be up, on
// SDL2's dummy driver where there is no display; whoever links this supplies the presentation
// operations. Empty when SDL2 refuses one of the three.
std::optional<OfflineCanvas> open_offline_canvas(int width, int height);

Canvas canvas_of(const OfflineCanvas& offline);
TextureCreator creator_of(const OfflineCanvas& offline);

int offline_width(const OfflineCanvas& offline);
int offline_height(const OfflineCanvas& offline);

// Fills the whole canvas with one colour.
void clear_offline_canvas(const OfflineCanvas& offline, Rgba colour);

// Draws the program's frame at t and presents it, so every batched drawing command has reached
// the surface.
void draw_offline_frame(const OfflineCanvas& offline, double t);

// The surface's rows, pitch bytes apart, after every batched drawing command has reached them;
// valid until the next drawing.
std::span<const std::uint8_t> offline_pixels(const OfflineCanvas& offline);

// The pixel at (x, y), inside the canvas, after every batched drawing command.
Rgba offline_pixel(const OfflineCanvas& offline, int x, int y);
