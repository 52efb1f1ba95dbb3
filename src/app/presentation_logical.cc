// vexal25-herald: a fixed 640 x 400 logical canvas that SDL2 scales to the window, aspect
// ratio kept, so the composition is the same at every window size.
#include "app/presentation.h"
#include "base/fatal.h"

void setup_presentation(const Canvas& canvas) {
  if (SDL_RenderSetLogicalSize(canvas.renderer, design_width, design_height) != 0) fatal();
}

CanvasSize presentation_size(const Canvas& canvas) {
  CanvasSize size{0, 0};
  SDL_RenderGetLogicalSize(canvas.renderer, &size.width, &size.height);
  return size;
}
