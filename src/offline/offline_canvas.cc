#include "offline/offline_canvas.h"

#include <cstddef>

std::optional<OfflineCanvas> open_windowless_canvas(int width, int height) {
  OfflineCanvas offline;
  offline.target.reset(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, offline_pixel_format));
  if (!offline.target) return std::nullopt;
  offline.renderer.reset(SDL_CreateSoftwareRenderer(offline.target.get()));
  if (!offline.renderer) return std::nullopt;
  return offline;
}

Canvas canvas_of(const OfflineCanvas& offline) {
  return Canvas{offline.window.get(), offline.renderer.get()};
}

TextureCreator creator_of(const OfflineCanvas& offline) { return TextureCreator{offline.renderer.get()}; }

int offline_width(const OfflineCanvas& offline) { return offline.target->w; }

int offline_height(const OfflineCanvas& offline) { return offline.target->h; }

void clear_offline_canvas(const OfflineCanvas& offline, Rgba colour) {
  SDL_SetRenderDrawColor(offline.renderer.get(), colour.r, colour.g, colour.b, colour.a);
  SDL_RenderClear(offline.renderer.get());
}

std::span<const std::uint8_t> offline_pixels(const OfflineCanvas& offline) {
  SDL_RenderFlush(offline.renderer.get());
  const SDL_Surface& surface = *offline.target;
  const auto bytes = static_cast<std::size_t>(surface.pitch) * static_cast<std::size_t>(surface.h);
  return {static_cast<const std::uint8_t*>(surface.pixels), bytes};
}

Rgba offline_pixel(const OfflineCanvas& offline, int x, int y) {
  const std::span<const std::uint8_t> pixels = offline_pixels(offline);
  const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(offline.target->pitch) +
                         4 * static_cast<std::size_t>(x);
  // ARGB8888 words in the host's byte order.
  const std::uint32_t word = static_cast<std::uint32_t>(pixels[at]) | (std::uint32_t{pixels[at + 1]} << 8) |
                             (std::uint32_t{pixels[at + 2]} << 16) | (std::uint32_t{pixels[at + 3]} << 24);
  return Rgba{static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 8),
              static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 24)};
}
