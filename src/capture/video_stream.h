#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "capture/capture_file.h"
#include "capture/ffmpeg_owners.h"
#include "capture/options.h"

// The picture: the encoder with its stream, and the conversion of a drawn frame into the
// encoder's pixel format.

struct VideoStream {
  CodecContextPtr encoder;
  AVStream* stream = nullptr;  // owned by the file
};

// Adds the video stream to the file. h264: libx264, yuv420p in BT.709 limited range, closed GOPs
// of half a second with at most two B-frames, as video sites ask for uploads. ffv1: FFV1 version
// 3 in bgr0, every frame a key frame, each slice with its own CRC, as archives keep video.
std::variant<VideoStream, std::string> add_video_stream(CaptureFile& file, const CaptureOptions& options);

// A frame of the encoder's size and format with its own buffer, for the pool between drawing and
// encoding. Empty when the memory is not there.
FramePtr make_video_frame(const AVCodecContext& encoder);

// Fills `frame` from the drawn ARGB8888 pixels (rows `pitch` bytes apart) in the frame's own
// format: yuv420p for h264, bgr0 (the pixels as they are) for ffv1. False when the frame's buffer
// could not be made writable.
bool fill_video_frame(AVFrame& frame, std::span<const std::uint8_t> pixels, int pitch);
