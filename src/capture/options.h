#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "offline/presentation_switch.h"

// What a capture makes, from its command line.

enum class Codec {
  h264,  // H.264 (yuv420p) with AAC in MP4: what video sites and browsers take
  ffv1,  // FFV1 with FLAC in Matroska: lossless, for archives and exact checks
};

struct CaptureOptions {
  std::string output;
  Codec codec = Codec::h264;
  int width = 1920;
  int height = 1080;
  std::int64_t fps = 60;
  Presentation presentation = Presentation::logical;
  std::int64_t from_ms = 0;
  std::int64_t to_ms = 114'000;
  std::optional<std::uint64_t> seed;  // empty: a fresh one from the system's entropy
  bool help = false;
};

// A refused command line: one line that names the option and what it accepts.
struct OptionError {
  std::string message;
};

inline constexpr int smallest_side = 16;
inline constexpr int largest_side = 8192;  // well inside what FFmpeg's image checks and x264 take
inline constexpr std::int64_t highest_fps = 240;

// Reads the arguments after the program's name.
std::variant<CaptureOptions, OptionError> parse_options(std::span<const char* const> args);

// The --help text.
const char* usage_text();

// "H.264 and AAC in MP4" or "FFV1 and FLAC in Matroska", for messages.
const char* codec_description(Codec codec);
