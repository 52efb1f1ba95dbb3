#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "capture/capture_plan.h"
#include "capture/options.h"

// Called by the drawing thread after each frame with the frames done so far and that frame's t.
using ProgressCallback = std::function<void(std::int64_t frames_done, double t)>;

// Draws every frame of the plan with the program's draw_frame on the drawing thread (the caller's),
// while a second thread encodes the frames and the song into the container and writes it to `path`;
// a pool of a few frames between the two keeps memory flat. SDL2's video subsystem must be up. The
// error says what failed; an interruption (see interruption.h) stops the capture between frames
// and leaves the file unfinished.
std::optional<std::string> capture_video(const CaptureOptions& options, const CapturePlan& plan,
                                         std::uint64_t seed, std::vector<std::int16_t> song,
                                         const std::string& path, const ProgressCallback& progress);
