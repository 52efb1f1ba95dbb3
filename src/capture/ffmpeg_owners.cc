#include "capture/ffmpeg_owners.h"

#include <array>

std::string ffmpeg_error_text(int error) {
  std::array<char, AV_ERROR_MAX_STRING_SIZE> text{};
  av_strerror(error, text.data(), text.size());
  return text.data();
}
