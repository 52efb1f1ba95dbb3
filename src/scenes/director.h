#pragma once

#include "base/canvas.h"

// Turns the elapsed time t into one complete picture on the canvas; never presents.
// Writes the console time line, picks the frame's text colour, reads the canvas size,
// clears to the background and calls the scenes active at t.
void draw_frame(const Canvas& canvas, const TextureCreator& creator, double t);
