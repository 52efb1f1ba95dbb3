#include "capture/capture.h"

#include <SDL.h>

#include <thread>
#include <utility>

#include "capture/audio_stream.h"
#include "capture/capture_file.h"
#include "capture/frame_channel.h"
#include "capture/interruption.h"
#include "capture/video_stream.h"
#include "offline/offline_canvas.h"
#include "text/jitter.h"

namespace {

// Enough for the encoder to work on one frame while the next is drawn and a couple wait; more
// would only hold memory.
constexpr int pool_frames = 4;

// Everything the two threads share: the file and the streams belong to the encoding thread until
// it is joined; the channels are the only things both touch.
struct Encoding {
  CaptureFile file;
  VideoStream video;
  AudioStream audio;
  const CapturePlan& plan;
  FrameChannel drawn;  // drawing thread -> encoding thread
  FrameChannel blank;  // encoding thread -> drawing thread
  std::optional<std::string> error;
};

// The encoding thread: each drawn frame, then the song up to that frame's end.
void encode_frames(Encoding& encoding) {
  while (FramePtr frame = receive_frame(encoding.drawn)) {
    const std::int64_t done = frame->pts + 1;
    encoding.error = encode_into(encoding.file, *encoding.video.encoder, *encoding.video.stream, frame.get());
    if (!encoding.error) {
      const std::int64_t end_sample =
          frame_start_sample(encoding.plan.first_frame + done, encoding.plan.fps) -
          encoding.plan.first_sample;
      encoding.error = encode_audio_until(encoding.file, encoding.audio, end_sample);
    }
    if (encoding.error) break;
    send_frame(encoding.blank, std::move(frame));
  }
  if (encoding.error) {
    // The drawing thread stops at its next frame.
    close_channel(encoding.blank);
    close_channel(encoding.drawn);
  }
}

// The drawing thread's side. Empty when every frame went to the encoder.
std::optional<std::string> draw_frames(const OfflineCanvas& offline, Encoding& encoding, std::uint64_t seed,
                                       const ProgressCallback& progress) {
  const int pitch = offline.target->pitch;
  for (std::int64_t j = 0; j < encoding.plan.frame_count; ++j) {
    if (interruption() != 0) return std::nullopt;
    FramePtr frame = receive_frame(encoding.blank);
    if (!frame) return std::nullopt;  // the encoder stopped; its error says why
    const std::int64_t t_ms = frame_time_ms(encoding.plan.first_frame + j, encoding.plan.fps);
    const double t = static_cast<double>(t_ms) / 1000.0;
    seed_jitter(frame_jitter_seed(seed, t_ms));
    draw_offline_frame(offline, t);
    if (!fill_video_frame(*frame, offline_pixels(offline), pitch)) return "out of memory for a frame";
    frame->pts = j;
    if (!send_frame(encoding.drawn, std::move(frame))) return std::nullopt;
    if (progress) progress(j + 1, t);
  }
  return std::nullopt;
}

// After the last frame: what the encoders still hold, the rest of the song, the trailer.
std::optional<std::string> finish_encoding(Encoding& encoding) {
  if (auto error = encode_into(encoding.file, *encoding.video.encoder, *encoding.video.stream, nullptr))
    return error;
  if (auto error = encode_audio_until(encoding.file, encoding.audio, encoding.audio.total)) return error;
  if (auto error = encode_into(encoding.file, *encoding.audio.encoder, *encoding.audio.stream, nullptr))
    return error;
  return finish_file(encoding.file);
}

}  // namespace

std::optional<std::string> capture_video(const CaptureOptions& options, const CapturePlan& plan,
                                         std::uint64_t seed, std::vector<std::int16_t> song,
                                         const std::string& path, const ProgressCallback& progress) {
  auto file = make_capture_file(options.codec, path);
  if (auto* error = std::get_if<std::string>(&file)) return *error;
  Encoding encoding{std::move(std::get<CaptureFile>(file)), {}, {}, plan, {}, {}, {}};
  auto video = add_video_stream(encoding.file, options);
  if (auto* error = std::get_if<std::string>(&video)) return *error;
  encoding.video = std::move(std::get<VideoStream>(video));
  auto audio = add_audio_stream(encoding.file, options.codec, std::move(song), plan);
  if (auto* error = std::get_if<std::string>(&audio)) return *error;
  encoding.audio = std::move(std::get<AudioStream>(audio));
  if (auto error = start_file(encoding.file)) return error;

  for (int k = 0; k < pool_frames; ++k) {
    FramePtr frame = make_video_frame(*encoding.video.encoder);
    if (!frame) return "out of memory for the frame pool";
    send_frame(encoding.blank, std::move(frame));
  }
  const std::optional<OfflineCanvas> offline = open_offline_canvas(options.width, options.height);
  if (!offline) return std::string("no software canvas: ") + SDL_GetError();

  std::thread encoder(encode_frames, std::ref(encoding));
  std::optional<std::string> draw_error = draw_frames(*offline, encoding, seed, progress);
  close_channel(encoding.drawn);
  encoder.join();
  if (draw_error) return draw_error;
  if (encoding.error) return encoding.error;
  if (interruption() != 0) return std::nullopt;
  return finish_encoding(encoding);
}
