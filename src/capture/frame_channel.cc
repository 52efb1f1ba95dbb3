#include "capture/frame_channel.h"

#include <utility>

bool send_frame(FrameChannel& channel, FramePtr frame) {
  {
    const std::scoped_lock lock(channel.mutex);
    if (channel.closed) return false;
    channel.frames.push_back(std::move(frame));
  }
  channel.changed.notify_one();
  return true;
}

FramePtr receive_frame(FrameChannel& channel) {
  std::unique_lock lock(channel.mutex);
  channel.changed.wait(lock, [&channel] { return !channel.frames.empty() || channel.closed; });
  if (channel.frames.empty()) return nullptr;
  FramePtr frame = std::move(channel.frames.front());
  channel.frames.pop_front();
  return frame;
}

void close_channel(FrameChannel& channel) {
  {
    const std::scoped_lock lock(channel.mutex);
    channel.closed = true;
  }
  channel.changed.notify_all();
}
