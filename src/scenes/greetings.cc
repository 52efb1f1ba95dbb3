#include "scenes/scenes.h"

void draw_greetings(const Frame& /*frame*/) {}
