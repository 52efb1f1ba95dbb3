#include "capture/video_stream.h"

#include "capture/yuv420p.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <algorithm>
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
  encoder.chroma_sample_location = AVCHROMA_LOC_CENTER;  // as bgra_to_yuv420p averages 2 x 2 pixels
  // superfast keeps the whole 1080p60 capture well faster than the demo plays on two cores, where
  // veryfast costs half as much again per frame for files half the size; at CRF 18 the flat
  // background and the sharp glyphs stay clean through a video site's own re-encoding.
  av_opt_set(encoder.priv_data, "preset", "superfast", 0);
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
  if (auto error = open_encoder(file, encoder, *video.stream)) return *error;
  video.stream->avg_frame_rate = encoder.framerate;
  video.stream->sample_aspect_ratio = encoder.sample_aspect_ratio;
  return video;
}

FramePtr make_video_frame(const AVCodecContext& encoder) {
  FramePtr frame(av_frame_alloc());
  if (!frame) return nullptr;
  frame->format = encoder.pix_fmt;
  frame->width = encoder.width;
  frame->height = encoder.height;
  if (av_frame_get_buffer(frame.get(), 0) < 0) return nullptr;
  return frame;
}

bool fill_video_frame(AVFrame& frame, std::span<const std::uint8_t> pixels, int pitch) {
  // The encoder may still hold on to the buffer it was last given; then this frame gets a new one.
  if (av_frame_make_writable(&frame) < 0) return false;
  if (frame.format == AV_PIX_FMT_YUV420P) {
    bgra_to_yuv420p(
        pixels, pitch, frame.width, frame.height,
        Yuv420pPlanes{frame.data[0], frame.data[1], frame.data[2], frame.linesize[0], frame.linesize[1]});
    return true;
  }
  const auto row_bytes = static_cast<std::size_t>(frame.width) * 4;
  for (int y = 0; y < frame.height; ++y) {
    std::memcpy(frame.data[0] + static_cast<std::ptrdiff_t>(y) * frame.linesize[0],
                pixels.data() + static_cast<std::ptrdiff_t>(y) * pitch, row_bytes);
  }
  return true;
}
