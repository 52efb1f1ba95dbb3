#pragma once

#include "app/frame_clock.h"
#include "base/canvas.h"

// Runs frames from the start instant until t passes the run limit, the window is closed or
// Escape is pressed.
void run_frame_loop(const Canvas& canvas, const TextureCreator& creator, Instant start);

// Reads every queued event. True when the user asked to end: SDL_QUIT or an Escape key-down
// (repeats included). Events still queued after such a request stay unread.
bool drain_events();
