#include "capture/media_file.h"

#include <array>
#include <cstring>
#include <memory>

#include "capture/ffmpeg_owners.h"

extern "C" {
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace {

double seconds(std::int64_t duration, AVRational time_base) {
  return duration == AV_NOPTS_VALUE ? 0.0 : static_cast<double>(duration) * av_q2d(time_base);
}

struct ScaleContextDeleter {
  void operator()(SwsContext* context) const { sws_freeContext(context); }
};
using ScaleContextPtr = std::unique_ptr<SwsContext, ScaleContextDeleter>;

// A yuv420p frame back in bgr0 through FFmpeg's own converter, read as BT.709 limited range.
bool yuv420p_to_bgr0(const AVFrame& frame, std::vector<std::uint8_t>& pixels) {
  const ScaleContextPtr scale(sws_getContext(
      frame.width, frame.height, AV_PIX_FMT_YUV420P, frame.width, frame.height, AV_PIX_FMT_BGR0,
      SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT, nullptr, nullptr, nullptr));
  if (!scale) return false;
  const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
  sws_setColorspaceDetails(scale.get(), bt709, 0, bt709, 1, 0, 1 << 16, 1 << 16);
  std::array<std::uint8_t*, 4> planes{pixels.data(), nullptr, nullptr, nullptr};
  const std::array<int, 4> pitches{frame.width * 4, 0, 0, 0};
  return sws_scale(scale.get(), frame.data, frame.linesize, 0, frame.height, planes.data(), pitches.data()) ==
         frame.height;
}

void keep_video_frame(const AVFrame& frame, const AVStream& stream, VideoTrack& video) {
  video.frame_ms.push_back(av_rescale_q(frame.best_effort_timestamp, stream.time_base, AVRational{1, 1000}));
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(frame.width) * 4 * frame.height);
  if (frame.format == AV_PIX_FMT_YUV420P) {
    if (yuv420p_to_bgr0(frame, pixels)) video.frames.push_back(std::move(pixels));
    return;
  }
  if (frame.format != AV_PIX_FMT_BGR0) return;
  for (int y = 0; y < frame.height; ++y) {
    std::memcpy(pixels.data() + static_cast<std::ptrdiff_t>(y) * frame.width * 4,
                frame.data[0] + static_cast<std::ptrdiff_t>(y) * frame.linesize[0],
                static_cast<std::size_t>(frame.width) * 4);
  }
  video.frames.push_back(std::move(pixels));
}

void keep_audio_frame(const AVFrame& frame, AudioTrack& audio) {
  if (frame.format != AV_SAMPLE_FMT_S16 || frame.ch_layout.nb_channels != 1) return;
  const auto* samples = reinterpret_cast<const std::int16_t*>(frame.data[0]);
  audio.samples.insert(audio.samples.end(), samples, samples + frame.nb_samples);
}

// Sends the packet (nullptr: the end) and keeps every frame the decoder gives back.
void decode_packet(AVCodecContext& decoder, const AVPacket* packet, const AVStream& stream,
                   MediaFile& media) {
  if (avcodec_send_packet(&decoder, packet) < 0) {
    media.error = "the decoder refused a packet";
    return;
  }
  const FramePtr frame(av_frame_alloc());
  while (avcodec_receive_frame(&decoder, frame.get()) == 0) {
    if (decoder.codec_type == AVMEDIA_TYPE_VIDEO) {
      keep_video_frame(*frame, stream, media.video);
    } else {
      keep_audio_frame(*frame, media.audio);
    }
    av_frame_unref(frame.get());
  }
}

CodecContextPtr open_decoder(const AVStream& stream) {
  const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
  if (codec == nullptr) return nullptr;
  CodecContextPtr decoder(avcodec_alloc_context3(codec));
  if (!decoder || avcodec_parameters_to_context(decoder.get(), stream.codecpar) < 0 ||
      avcodec_open2(decoder.get(), codec, nullptr) < 0) {
    return nullptr;
  }
  decoder->pkt_timebase = stream.time_base;
  return decoder;
}

}  // namespace

MediaFile read_media(const std::string& path, bool decode) {
  MediaFile media;
  AVFormatContext* opened = nullptr;
  if (avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0) {
    media.error = "cannot open " + path;
    return media;
  }
  const InputContextPtr input(opened);
  if (avformat_find_stream_info(input.get(), nullptr) < 0) {
    media.error = "no stream information in " + path;
    return media;
  }
  media.duration = seconds(input->duration, AVRational{1, AV_TIME_BASE});
  std::array<CodecContextPtr, 2> decoders;  // video, audio
  std::array<int, 2> indexes{-1, -1};
  for (unsigned k = 0; k < input->nb_streams; ++k) {
    const AVStream& stream = *input->streams[k];
    const AVCodecParameters& parameters = *stream.codecpar;
    if (parameters.codec_type == AVMEDIA_TYPE_VIDEO) {
      media.video.codec = avcodec_get_name(parameters.codec_id);
      const char* format = av_get_pix_fmt_name(static_cast<AVPixelFormat>(parameters.format));
      media.video.pixel_format = format != nullptr ? format : "";
      media.video.width = parameters.width;
      media.video.height = parameters.height;
      media.video.fps_num = stream.avg_frame_rate.num;
      media.video.fps_den = stream.avg_frame_rate.den;
      media.video.duration = seconds(stream.duration, stream.time_base);
      indexes[0] = static_cast<int>(k);
    } else if (parameters.codec_type == AVMEDIA_TYPE_AUDIO) {
      media.audio.codec = avcodec_get_name(parameters.codec_id);
      media.audio.sample_rate = parameters.sample_rate;
      media.audio.channels = parameters.ch_layout.nb_channels;
      media.audio.duration = seconds(stream.duration, stream.time_base);
      indexes[1] = static_cast<int>(k);
    }
  }
  if (!decode) return media;
  for (std::size_t which = 0; which < 2; ++which) {
    if (indexes[which] < 0) continue;
    decoders[which] = open_decoder(*input->streams[indexes[which]]);
    if (!decoders[which]) {
      media.error = "no decoder for a stream of " + path;
      return media;
    }
  }
  const PacketPtr packet(av_packet_alloc());
  while (av_read_frame(input.get(), packet.get()) >= 0 && media.error.empty()) {
    for (std::size_t which = 0; which < 2; ++which) {
      if (packet->stream_index == indexes[which]) {
        decode_packet(*decoders[which], packet.get(), *input->streams[indexes[which]], media);
      }
    }
    av_packet_unref(packet.get());
  }
  for (std::size_t which = 0; which < 2; ++which) {
    if (decoders[which]) decode_packet(*decoders[which], nullptr, *input->streams[indexes[which]], media);
  }
  return media;
}
