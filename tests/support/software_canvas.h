#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>

#include "base/canvas.h"
#include "base/sdl_owners.h"

// A canvas over SDL2's software renderer drawing into a memory surface, for render tests
// that read pixels back. No window and no display are needed.
struct Rgba {
  std::uint8_t r, g, b, a;
  bool operator==(const Rgba&) const = default;
};

class SoftwareCanvas {
 public:
  SoftwareCanvas(int width, int height)
      : surface_(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ABGR8888)),
        renderer_(surface_ ? SDL_CreateSoftwareRenderer(surface_.get()) : nullptr) {}

  bool ok() const { return surface_ && renderer_; }
  Canvas canvas() const { return Canvas{nullptr, renderer_.get()}; }
  TextureCreator creator() const { return TextureCreator{renderer_.get()}; }
  SDL_Surface* surface() const { return surface_.get(); }

  void clear(Rgba colour) {
    SDL_SetRenderDrawColor(renderer_.get(), colour.r, colour.g, colour.b, colour.a);
    SDL_RenderClear(renderer_.get());
  }

  Rgba pixel(int x, int y) const {
    SDL_RenderFlush(renderer_.get());
    const auto* row =
        static_cast<const std::uint8_t*>(surface_->pixels) + static_cast<std::ptrdiff_t>(y) * surface_->pitch;
    const std::uint8_t* p = row + static_cast<std::ptrdiff_t>(4) * x;
    return Rgba{p[0], p[1], p[2], p[3]};
  }

  int width() const { return surface_->w; }
  int height() const { return surface_->h; }

 private:
  SurfacePtr surface_;
  RendererPtr renderer_;
};
