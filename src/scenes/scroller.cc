#include "scenes/scenes.h"

void draw_scroller(const Frame& /*frame*/) {}
