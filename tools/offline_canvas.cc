#include "offline_canvas.h"

#include <cstddef>

#include "app/presentation.h"
#include "scenes/director.h"

std::optional<OfflineCanvas> open_offline_canvas(int width, int height) {
  OfflineCanvas offline;
  offline.window.reset(SDL_CreateWindow("vexal25-herald.cc", 0, 0, width, height, SDL_WINDOW_HIDDEN));
  if (!offline.window) return std::nullopt;
  offline.target.reset(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, offline_pixel_format));
  if (!offline.target) return std::nullopt;
  offline.renderer.reset(SDL_CreateSoftwareRenderer(offline.target.get()));
  if (!offline.renderer) return std::nullopt;
  setup_presentation(canvas_of(offline));
  return offline;
}

Canvas canvas_of(const OfflineCanvas& offline) {
  return Canvas{offline.window.get(), offline.renderer.get()};
}

TextureCreator creator_of(const OfflineCanvas& offline) { return TextureCreator{offline.renderer.get()}; }

void draw_offline_frame(const OfflineCanvas& offline, double t) {
  draw_frame(canvas_of(offline), creator_of(offline), t);
  SDL_RenderPresent(offline.renderer.get());
}

std::span<const std::uint8_t> offline_pixels(const OfflineCanvas& offline) {
  const SDL_Surface& surface = *offline.target;
  const auto bytes = static_cast<std::size_t>(surface.pitch) * static_cast<std::size_t>(surface.h);
  return {static_cast<const std::uint8_t*>(surface.pixels), bytes};
}
