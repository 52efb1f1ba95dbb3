#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>

#include "capture/ffmpeg_owners.h"

// Hands frames from one thread to another. The capture uses two: drawn frames go from the drawing
// thread to the encoding thread, and encoded ones come back to be drawn into again, so a fixed
// pool of frames circulates and memory stays the same however long the capture runs.
struct FrameChannel {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<FramePtr> frames;
  bool closed = false;
};

// Queues the frame; false (and the frame is dropped) once the channel is closed.
bool send_frame(FrameChannel& channel, FramePtr frame);

// Waits for the next frame; empty once the channel is closed and drained.
FramePtr receive_frame(FrameChannel& channel);

// No more frames will be sent; a receiver waiting on an empty channel wakes with nothing.
void close_channel(FrameChannel& channel);
