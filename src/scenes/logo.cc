#include "scenes/scenes.h"

void draw_logo(const Frame& /*frame*/) {}
