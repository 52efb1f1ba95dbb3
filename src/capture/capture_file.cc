#include "capture/capture_file.h"

extern "C" {
#include <libavutil/dict.h>
}

namespace {

std::string failure(const std::string& what, int error) { return what + ": " + ffmpeg_error_text(error); }

}  // namespace

std::variant<CaptureFile, std::string> make_capture_file(Codec codec, const std::string& path) {
  AVFormatContext* context = nullptr;
  const char* format_name = codec == Codec::h264 ? "mp4" : "matroska";
  const int error = avformat_alloc_output_context2(&context, nullptr, format_name, path.c_str());
  if (error < 0 || context == nullptr) return failure(std::string("no ") + format_name + " muxer", error);
  CaptureFile file{OutputContextPtr(context), path};
  // No muxer version, date or random identifiers in the file: two captures of the same seed are
  // the same bytes.
  file.format->flags |= AVFMT_FLAG_BITEXACT;
  av_dict_set(&file.format->metadata, "title", "vexal25-herald", 0);
  return file;
}

std::optional<std::string> open_encoder(CaptureFile& file, AVCodecContext& encoder, AVStream& stream) {
  if ((file.format->oformat->flags & AVFMT_GLOBALHEADER) != 0) encoder.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  int error = avcodec_open2(&encoder, nullptr, nullptr);
  if (error < 0) return failure(std::string("opening ") + encoder.codec->name, error);
  error = avcodec_parameters_from_context(stream.codecpar, &encoder);
  if (error < 0) return failure(std::string("the stream of ") + encoder.codec->name, error);
  stream.time_base = encoder.time_base;
  return std::nullopt;
}

std::optional<std::string> start_file(CaptureFile& file) {
  AVFormatContext& format = *file.format;
  int error = avio_open(&format.pb, file.path.c_str(), AVIO_FLAG_WRITE);
  if (error < 0) return failure(file.path, error);
  AVDictionary* options = nullptr;
  if (std::string(format.oformat->name) == "mp4") av_dict_set(&options, "movflags", "+faststart", 0);
  error = avformat_write_header(&format, &options);
  av_dict_free(&options);
  if (error < 0) return failure("writing the header", error);
  return std::nullopt;
}

std::optional<std::string> encode_into(CaptureFile& file, AVCodecContext& encoder, AVStream& stream,
                                       const AVFrame* frame) {
  int error = avcodec_send_frame(&encoder, frame);
  if (error < 0) return failure(std::string("encoding with ") + encoder.codec->name, error);
  const PacketPtr packet(av_packet_alloc());
  if (!packet) return failure("no packet", AVERROR(ENOMEM));
  for (;;) {
    error = avcodec_receive_packet(&encoder, packet.get());
    if (error == AVERROR(EAGAIN) || error == AVERROR_EOF) return std::nullopt;
    if (error < 0) return failure(std::string("encoding with ") + encoder.codec->name, error);
    av_packet_rescale_ts(packet.get(), encoder.time_base, stream.time_base);
    packet->stream_index = stream.index;
    // The muxer takes the packet's data over and leaves the packet blank.
    error = av_interleaved_write_frame(file.format.get(), packet.get());
    if (error < 0) return failure("writing", error);
  }
}

std::optional<std::string> finish_file(CaptureFile& file) {
  int error = av_write_trailer(file.format.get());
  if (error < 0) return failure("writing", error);
  error = avio_closep(&file.format->pb);
  if (error < 0) return failure("writing", error);
  return std::nullopt;
}
