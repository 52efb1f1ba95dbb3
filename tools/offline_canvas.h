#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>
#include <span>

#include "base/canvas.h"
#include "base/sdl_owners.h"

// The program's canvas without a display: SDL2's software renderer drawing into a memory surface
// of the frame's size, beside a hidden window of the same size that stands for the window the
// frame would be shown in (the drawable-size presentation lays out against it). The video
// subsystem must be up, on SDL2's dummy driver where there is no display.
struct OfflineCanvas {
  WindowPtr window;
  SurfacePtr target;
  RendererPtr renderer;
};

// Pixels are 32-bit ARGB8888 words: bytes blue, green, red, alpha in memory on the little-endian
// hosts the tools run on, which FFmpeg reads as bgra or bgr0 without a conversion.
inline constexpr std::uint32_t offline_pixel_format = SDL_PIXELFORMAT_ARGB8888;

// Makes the canvas and sets up the presentation as the program does at start-up. Empty when
// SDL2 refuses one of the three (SDL_GetError says why).
std::optional<OfflineCanvas> open_offline_canvas(int width, int height);

Canvas canvas_of(const OfflineCanvas& offline);
TextureCreator creator_of(const OfflineCanvas& offline);

// Draws the program's frame at t and presents it, so every batched drawing command has reached
// the surface.
void draw_offline_frame(const OfflineCanvas& offline, double t);

// The frame's rows, pitch bytes apart; valid until the next frame is drawn.
std::span<const std::uint8_t> offline_pixels(const OfflineCanvas& offline);
