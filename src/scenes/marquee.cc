#include "scenes/scenes.h"

void draw_marquee(const Frame& /*frame*/) {}
