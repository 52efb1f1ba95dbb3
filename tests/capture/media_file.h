#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A capture read back through FFmpeg's own demuxers and decoders.

struct VideoTrack {
  std::string codec;         // FFmpeg's codec name, e.g. "h264", "ffv1"
  std::string pixel_format;  // e.g. "yuv420p", "bgr0"
  int width = 0;
  int height = 0;
  int fps_num = 0;  // the stream's frame rate
  int fps_den = 0;
  double duration = 0.0;               // seconds, as the container says
  std::vector<std::int64_t> frame_ms;  // each decoded frame's time in milliseconds
  // Every decoded frame in bgr0, rows of width x 4 bytes; yuv420p frames converted by FFmpeg.
  std::vector<std::vector<std::uint8_t>> frames;
};

struct AudioTrack {
  std::string codec;  // "aac", "flac"
  int sample_rate = 0;
  int channels = 0;
  double duration = 0.0;
  std::vector<std::int16_t> samples;  // 16-bit streams only: every decoded sample
};

struct MediaFile {
  std::string error;  // empty when the file was read
  double duration = 0.0;
  VideoTrack video;
  AudioTrack audio;
};

// Reads the file's streams; with `decode` also decodes every frame and sample.
MediaFile read_media(const std::string& path, bool decode);
