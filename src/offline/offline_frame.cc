// The parts of the offline canvas that draw the program's own frames. They live apart from the
// canvas itself so that a test or benchmark drawing glyphs or scenes by hand links neither the
// director nor a presentation variant.
#include <SDL.h>

#include "app/presentation.h"
#include "offline/offline_canvas.h"
#include "scenes/director.h"

std::optional<OfflineCanvas> open_offline_canvas(int width, int height) {
  WindowPtr window(SDL_CreateWindow("vexal25-herald.cc", 0, 0, width, height, SDL_WINDOW_HIDDEN));
  if (!window) return std::nullopt;
  std::optional<OfflineCanvas> offline = open_windowless_canvas(width, height);
  if (!offline) return std::nullopt;
  offline->window = std::move(window);
  setup_presentation(canvas_of(*offline));
  return offline;
}

void draw_offline_frame(const OfflineCanvas& offline, double t) {
  draw_frame(canvas_of(offline), creator_of(offline), t);
  SDL_RenderPresent(offline.renderer.get());
}
