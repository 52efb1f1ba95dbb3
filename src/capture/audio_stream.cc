#include "capture/audio_stream.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

#include <algorithm>
#include <cmath>
#include <span>
#include <utility>

namespace {

std::string failure(const std::string& what, int error) { return what + ": " + ffmpeg_error_text(error); }

// Starts the program's playback at `first_sample` of the song. A capture that begins after the
// song's end is silent throughout, as the program is by then.
void start_playback_at(PlaybackState& playback, std::vector<std::int16_t> song, std::int64_t first_sample) {
  install_song(playback, std::move(song));
  const auto start = static_cast<std::uint64_t>(first_sample);
  if (playback.song.empty() || start >= playback.song.size() - 1) {
    playback.playing = false;
  } else {
    playback.read_index = start;
  }
}

// The next block of the song as the program's audio callback makes it, into the frame's samples.
void fill_audio_frame(AudioStream& audio, int count) {
  AVFrame& frame = *audio.frame;
  frame.nb_samples = count;
  if (audio.encoder->sample_fmt == AV_SAMPLE_FMT_FLTP) {
    fill_block(audio.playback,
               std::span<float>(reinterpret_cast<float*>(frame.data[0]), static_cast<std::size_t>(count)));
    return;
  }
  // FLAC takes the song's 16-bit values. The callback's floats are v / 32767 rounded to single
  // precision, within 2^-8 of v once multiplied back, so rounding recovers every v exactly.
  std::vector<float> block(static_cast<std::size_t>(count));
  fill_block(audio.playback, block);
  auto* samples = reinterpret_cast<std::int16_t*>(frame.data[0]);
  for (std::size_t k = 0; k < block.size(); ++k) {
    samples[k] = static_cast<std::int16_t>(std::lrint(block[k] * 32767.0f));
  }
}

}  // namespace

std::variant<AudioStream, std::string> add_audio_stream(CaptureFile& file, Codec codec,
                                                        std::vector<std::int16_t> song,
                                                        const CapturePlan& plan) {
  const char* codec_name = codec == Codec::h264 ? "aac" : "flac";
  const AVCodec* encoder_codec = avcodec_find_encoder_by_name(codec_name);
  if (encoder_codec == nullptr) return std::string("FFmpeg has no ") + codec_name + " encoder";
  AudioStream audio;
  audio.encoder.reset(avcodec_alloc_context3(encoder_codec));
  audio.stream = avformat_new_stream(file.format.get(), nullptr);
  audio.frame.reset(av_frame_alloc());
  if (!audio.encoder || audio.stream == nullptr || !audio.frame)
    return failure("no audio stream", AVERROR(ENOMEM));
  AVCodecContext& encoder = *audio.encoder;
  encoder.sample_rate = static_cast<int>(capture_sample_rate);
  encoder.time_base = AVRational{1, encoder.sample_rate};
  av_channel_layout_default(&encoder.ch_layout, 1);
  if (codec == Codec::h264) {
    encoder.sample_fmt = AV_SAMPLE_FMT_FLTP;
    encoder.bit_rate = 192'000;
  } else {
    encoder.sample_fmt = AV_SAMPLE_FMT_S16;
  }
  if (auto error = open_encoder(file, encoder, *audio.stream)) return *error;
  // Both encoders fix their frame size when they open; the song is cut into frames of it.
  if (encoder.frame_size <= 0) return std::string(codec_name) + " gave no frame size";

  AVFrame& frame = *audio.frame;
  frame.format = encoder.sample_fmt;
  frame.sample_rate = encoder.sample_rate;
  frame.nb_samples = encoder.frame_size;
  int error = av_channel_layout_copy(&frame.ch_layout, &encoder.ch_layout);
  if (error >= 0) error = av_frame_get_buffer(&frame, 0);
  if (error < 0) return failure("audio frame", error);

  start_playback_at(audio.playback, std::move(song), plan.first_sample);
  audio.total = plan.sample_count;
  return audio;
}

std::optional<std::string> encode_audio_until(CaptureFile& file, AudioStream& audio, std::int64_t samples) {
  const std::int64_t frame_size = audio.encoder->frame_size;
  const std::int64_t due = std::min(samples, audio.total);
  while (audio.written < due) {
    const std::int64_t left = audio.total - audio.written;
    // Whole frames only until the end, where the rest goes out as one short frame.
    if (left > frame_size && due - audio.written < frame_size) break;
    const auto count = static_cast<int>(std::min(frame_size, left));
    if (av_frame_make_writable(audio.frame.get()) < 0) return failure("audio frame", AVERROR(ENOMEM));
    fill_audio_frame(audio, count);
    audio.frame->pts = audio.written;
    if (std::optional<std::string> error =
            encode_into(file, *audio.encoder, *audio.stream, audio.frame.get())) {
      return error;
    }
    audio.written += count;
  }
  return std::nullopt;
}
