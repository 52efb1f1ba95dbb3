#pragma once

#include <SDL.h>

// The window together with its 2-D renderer. It only borrows the two handles: their owners
// live in the main routine, which releases them in reverse order of creation.
// Render tests build one over a software renderer with no window at all.
struct Canvas {
  SDL_Window* window;
  SDL_Renderer* renderer;
};

// The texture factory bound to the canvas renderer: every texture of the program is made
// through it.
struct TextureCreator {
  SDL_Renderer* renderer;
};
