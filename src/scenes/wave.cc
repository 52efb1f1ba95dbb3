#include "scenes/scenes.h"

void draw_wave(const Frame& /*frame*/) {}
