#pragma once

#include <optional>
#include <string>
#include <variant>

#include "capture/ffmpeg_owners.h"
#include "capture/options.h"

// The container being written: MP4 for h264 (its index moved to the front at the end, so a
// browser or a video site can start playing before the whole file is there), Matroska for ffv1.
struct CaptureFile {
  OutputContextPtr format;
  std::string path;  // where the bytes go: the temporary file beside the output
};

// Prepares the container for `path`; the streams are added next, then start_file opens it.
std::variant<CaptureFile, std::string> make_capture_file(Codec codec, const std::string& path);

// Opens `encoder` (made for its codec, with its settings) for `stream` of the file: with the
// global header the container wants, and the stream's parameters and time base from the encoder.
std::optional<std::string> open_encoder(CaptureFile& file, AVCodecContext& encoder, AVStream& stream);

// Opens the file and writes the container's header, once every stream is added.
std::optional<std::string> start_file(CaptureFile& file);

// Sends `frame` to the encoder (nullptr drains it at the end) and writes every packet it gives
// back into `stream`, interleaved with the other stream's packets by time.
std::optional<std::string> encode_into(CaptureFile& file, AVCodecContext& encoder, AVStream& stream,
                                       const AVFrame* frame);

// Writes the container's trailer and closes the file; a failed write or close (a full disk)
// is an error.
std::optional<std::string> finish_file(CaptureFile& file);
