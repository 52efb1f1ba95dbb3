#include <SDL.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <variant>

#include "base/fatal.h"
#include "scenes/scenes.h"
#include "scenes/wave_fill.h"
#include "text/glyph_draw.h"

namespace {

// A destination size SDL2 can take: 0 becomes 1, anything above 2^30 - 1 is held there.
int rect_extent(std::uint32_t size) {
  constexpr std::uint32_t largest = (1u << 30) - 1;
  return static_cast<int>(std::clamp<std::uint32_t>(size, 1, largest));
}

}  // namespace

// A fresh surface of the canvas's size is filled pixel by pixel every frame and blended over
// the logo; nothing of it outlives the frame.
void draw_wave(const Frame& frame) {
  if (frame.width == 0 || frame.height == 0) return;  // no area, nothing to show
  auto made = create_rgba_surface(frame.width, frame.height);
  if (!std::holds_alternative<SurfaceHandle>(made)) fatal();
  const SurfaceHandle surface = std::get<SurfaceHandle>(std::move(made));
  // The pixels are written without locking, which needs a surface that never requires a lock.
  if (SDL_MUSTLOCK(surface.get()) || surface->pixels == nullptr) fatal();
  const auto pitch = static_cast<std::size_t>(surface->pitch);
  if (pitch < 4 * static_cast<std::size_t>(frame.width) ||
      static_cast<std::uint32_t>(surface->w) != frame.width ||
      static_cast<std::uint32_t>(surface->h) != frame.height) {
    fatal();
  }
  const std::span<std::uint8_t> pixels(static_cast<std::uint8_t*>(surface->pixels), pitch * frame.height);
  fill_wave(pixels, pitch, frame.width, frame.height, frame.t);

  auto texture = texture_from_surface(frame.creator, surface);
  if (!std::holds_alternative<TexturePtr>(texture)) fatal();
  const SDL_Rect whole{0, 0, rect_extent(frame.width), rect_extent(frame.height)};
  if (canvas_copy(frame.canvas, std::get<TexturePtr>(texture).get(), whole)) fatal();
}
