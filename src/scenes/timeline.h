#pragma once

#include <span>

#include "scenes/frame.h"

using Scene = void (*)(const Frame&);

// The scenes active at t, in drawing order. Windows include their lower bound.
std::span<const Scene> active_scenes(double t);
