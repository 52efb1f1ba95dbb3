#include "app/frame_loop.h"

#include <SDL.h>

#include "base/fatal.h"
#include "base/frame_pause.h"
#include "scenes/director.h"

bool drain_events() {
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    switch (event.type) {
      case SDL_QUIT:
        return true;
      case SDL_KEYDOWN:
        if (event.key.keysym.sym == SDLK_ESCAPE) return true;
        break;
      case SDL_DROPFILE:
      case SDL_DROPTEXT:
        SDL_free(event.drop.file);  // the event owns the dropped text
        break;
      default:
        break;
    }
  }
  return false;
}

void run_frame_loop(const Canvas& canvas, const TextureCreator& creator, Instant start) {
  for (;;) {
    const std::optional<double> t = elapsed_seconds(start, read_wall_clock());
    if (!t) fatal();  // the wall clock went back before the start instant
    if (past_run_limit(*t)) return;
    draw_frame(canvas, creator, *t);
    // A frame during whose drain the user quits is drawn but never shown.
    if (drain_events()) return;
    SDL_RenderPresent(canvas.renderer);
    frame_pause();
  }
}
