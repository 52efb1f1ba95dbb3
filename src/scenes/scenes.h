#pragma once

#include "scenes/frame.h"

// The scenes of the timeline. Each draws its part of one frame from the frame context alone.
void draw_logo(const Frame& frame);
void draw_wave(const Frame& frame);
void draw_marquee(const Frame& frame);
void draw_scroller(const Frame& frame);
void draw_greetings(const Frame& frame);
