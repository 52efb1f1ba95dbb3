#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "capture/capture_file.h"
#include "capture/capture_plan.h"
#include "capture/ffmpeg_owners.h"
#include "capture/options.h"
#include "music/playback.h"

// The sound: the song played as the program plays it, from the sample under the capture's first
// frame, then silence to the end.

struct AudioStream {
  CodecContextPtr encoder;
  AVStream* stream = nullptr;  // owned by the file
  FramePtr frame;              // one encoder frame, refilled for each
  PlaybackState playback;      // the program's own playback state, read as its callback reads it
  std::int64_t written = 0;    // samples sent to the encoder so far
  std::int64_t total = 0;      // samples of the whole capture
};

// Adds the audio stream at 48000 Hz mono. h264: AAC-LC at 192 kb/s, fed the floats the program
// plays. ffv1: FLAC, fed the song's own 16-bit samples, so the file holds them exactly.
std::variant<AudioStream, std::string> add_audio_stream(CaptureFile& file, Codec codec,
                                                        std::vector<std::int16_t> song,
                                                        const CapturePlan& plan);

// Encodes the sound up to `samples` samples from the start of the capture, in whole encoder
// frames; the last frame, shorter, goes out with the call that reaches the end of the capture.
std::optional<std::string> encode_audio_until(CaptureFile& file, AudioStream& audio, std::int64_t samples);
