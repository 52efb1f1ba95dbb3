#include "capture/video_stream.h"

extern "C" {
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

namespace {

std::string failure(const std::string& what, int error) { return what + ": " + ffmpeg_error_text(error); }

void set_h264(AVCodecContext& encoder, std::int64_t fps) {
  encoder.pix_fmt = AV_PIX_FMT_YUV420P;
  encoder.gop_size = static_cast<int>(std::max<std::int64_t>(1, fps / 2));
  encoder.max_b_frames = 2;
  encoder.color_primaries = AVCOL_PRI_BT709;
  encoder.color_trc = AVCOL_TRC_BT709;
  encoder.colorspace = AVCOL_SPC_BT709;
  encoder.color_range = AVCOL_RANGE_MPEG;
  // veryfast keeps the whole 1080p60 capture faster than the demo plays on two cores; at CRF 18
  // its flat backgrounds and sharp glyphs stay clean through a video site's own re-encoding.
  av_opt_set(encoder.priv_data, "preset", "veryfast", 0);
  av_opt_set(encoder.priv_data, "crf", "18", 0);
  av_opt_set(encoder.priv_data, "profile", "high", 0);
}

void set_ffv1(AVCodecContext& encoder) {
  encoder.pix_fmt = AV_PIX_FMT_BGR0;
  encoder.gop_size = 1;
  encoder.level = 3;
  av_opt_set(encoder.priv_data, "slicecrc", "1", 0);
  av_opt_set_int(encoder.priv_data, "slices", 4, 0);
}

}  // namespace

std::variant<VideoStream, std::string> add_video_stream(CaptureFile& file, const CaptureOptions& options) {
  const char* codec_name = options.codec == Codec::h264 ? "libx264" : "ffv1";
  const AVCodec* codec = avcodec_find_encoder_by_name(codec_name);
  if (codec == nullptr) return std::string("FFmpeg has no ") + codec_name + " encoder";
  VideoStream video;
  video.encoder.reset(avcodec_alloc_context3(codec));
  video.stream = avformat_new_stream(file.format.get(), nullptr);
  if (!video.encoder || video.stream == nullptr) return failure("no video stream", AVERROR(ENOMEM));
  AVCodecContext& encoder = *video.encoder;
  encoder.width = options.width;
  encoder.height = options.height;
  encoder.time_base = AVRational{1, static_cast<int>(options.fps)};
  encoder.framerate = AVRational{static_cast<int>(options.fps), 1};
  encoder.sample_aspect_ratio = AVRational{1, 1};
  encoder.thread_count = 0;  // as many as the machine has
  if (options.codec == Codec::h264) {
    set_h264(encoder, options.fps);
  } else {
    set_ffv1(encoder);
  }
  if ((file.format->oformat->flags & AVFMT_GLOBALHEADER) != 0) encoder.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  int error = avcodec_open2(&encoder, codec, nullptr);
  if (error < 0) return failure(std::string("opening ") + codec_name, error);
  error = avcodec_parameters_from_context(video.stream->codecpar, &encoder);
  if (error < 0) return failure("video stream", error);
  video.stream->time_base = encoder.time_base;
  video.stream->avg_frame_rate = encoder.framerate;
  video.stream->sample_aspect_ratio = encoder.sample_aspect_ratio;
  return video;
}

std::variant<FrameConverter, std::string> make_frame_converter(AVPixelFormat format, int width, int height) {
  FrameConverter converter;
  converter.format = format;
  converter.width = width;
  converter.height = height;
  if (format == AV_PIX_FMT_BGR0) return converter;
  converter.scale.reset(sws_getContext(width, height, AV_PIX_FMT_BGRA, width, height, format, SWS_BICUBIC,
                                       nullptr, nullptr, nullptr));
  if (!converter.scale) return std::string("no conversion to ") + av_get_pix_fmt_name(format);
  // Full-range sRGB pixels to BT.709 limited range, as the stream is tagged.
  const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
  sws_setColorspaceDetails(converter.scale.get(), bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
  return converter;
}

FramePtr make_video_frame(const FrameConverter& converter) {
  FramePtr frame(av_frame_alloc());
  if (!frame) return nullptr;
  frame->format = converter.format;
  frame->width = converter.width;
  frame->height = converter.height;
  if (av_frame_get_buffer(frame.get(), 0) < 0) return nullptr;
  return frame;
}

bool convert_frame(const FrameConverter& converter, std::span<const std::uint8_t> pixels, int pitch,
                   AVFrame& frame) {
  // The encoder may still hold on to the buffer it was last given; then this frame gets a new one.
  if (av_frame_make_writable(&frame) < 0) return false;
  if (converter.scale) {
    const std::array<const std::uint8_t*, 1> source{pixels.data()};
    const std::array<int, 1> source_pitch{pitch};
    sws_scale(converter.scale.get(), source.data(), source_pitch.data(), 0, converter.height, frame.data,
              frame.linesize);
    return true;
  }
  const auto row_bytes = static_cast<std::size_t>(converter.width) * 4;
  for (int y = 0; y < converter.height; ++y) {
    std::memcpy(frame.data[0] + static_cast<std::ptrdiff_t>(y) * frame.linesize[0],
                pixels.data() + static_cast<std::ptrdiff_t>(y) * pitch, row_bytes);
  }
  return true;
}
