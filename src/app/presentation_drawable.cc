// vexal25-herald-drawable: no logical size; the scenes lay out against the window's drawable
// size in pixels, read anew every frame, so they follow the window as it is resized.
#include "app/presentation.h"

void setup_presentation(const Canvas& /*canvas*/) {}

CanvasSize presentation_size(const Canvas& canvas) {
  CanvasSize size{0, 0};
  // Only the size is read: the window has no OpenGL flag and the program makes no context.
  // SDL2 falls back to the window size where the driver has no notion of a drawable.
  SDL_GL_GetDrawableSize(canvas.window, &size.width, &size.height);
  return size;
}
