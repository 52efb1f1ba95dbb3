// audio_disk_check FILE MIN_SECONDS | audio_disk_check FILE whole [SHORT_BLOCKS]: checks what
// an audio output recorded (raw 32-bit float mono at 48000 Hz: SDL2's disk audio driver's file,
// or the blocks a browser's audio callback filled) against the pre-rendered song scaled by
// 1/32767. Whole blocks of silence that the device wrote while it was still paused may come
// first; after them the file must hold the song from its first sample, exactly, at least
// MIN_SECONDS of it, and nothing but silence after its end. With "whole" all of the song must be
// there; SHORT_BLOCKS lets it end that many callback blocks early, for an output that closes at
// the run limit before its device has asked for the song's last blocks (a browser's).
//
// A FILE that is a WAV file (what export_wav writes) must be 16-bit integer mono at 48000 Hz
// and hold the song from its first sample on, with no silence before it; its samples are
// compared after the same scaling, which maps every 16-bit value to a float of its own.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <variant>
#include <vector>

#include "music/mixer.h"
#include "music/module_image.h"
#include "music/player.h"

namespace {

constexpr std::size_t block = 8192;

int fail(const std::string& why) {
  std::fprintf(stderr, "FAIL: %s\n", why.c_str());
  return 1;
}

std::uint32_t le(const std::vector<char>& bytes, std::size_t at, std::size_t count) {
  std::uint32_t value = 0;
  for (std::size_t k = 0; k < count; ++k) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + k])) << (8 * k);
  }
  return value;
}

// The samples of a 16-bit mono 48000 Hz WAV file, scaled like the callback scales the song;
// empty with a reason when the file is not one.
std::variant<std::vector<float>, std::string> wav_samples(const std::vector<char>& bytes) {
  std::size_t at = 12;
  bool format_ok = false;
  while (at + 8 <= bytes.size()) {
    const std::string id(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                         bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
    const std::uint32_t size = le(bytes, at + 4, 4);
    const std::size_t body = at + 8;
    if (body + size > bytes.size()) return std::string("chunk '" + id + "' runs past the end of the file");
    if (id == "fmt ") {
      format_ok = size >= 16 && le(bytes, body, 2) == 1 && le(bytes, body + 2, 2) == 1 &&
                  le(bytes, body + 4, 4) == 48000 && le(bytes, body + 14, 2) == 16;
      if (!format_ok) return std::string("expected 16-bit integer mono at 48000 Hz");
    } else if (id == "data") {
      if (!format_ok) return std::string("data before the format");
      std::vector<float> samples(size / 2);
      for (std::size_t k = 0; k < samples.size(); ++k) {
        const auto value = static_cast<std::int16_t>(static_cast<std::uint16_t>(le(bytes, body + 2 * k, 2)));
        samples[k] = static_cast<float>(value) / 32767.0f;
      }
      return samples;
    }
    at = body + size + (size & 1u);
  }
  return std::string("no data chunk");
}

}  // namespace

// An exception that leaves main ends the tool through std::terminate, which names it.
// NOLINTNEXTLINE(bugprone-exception-escape)
int main(int argc, char** argv) {
  const bool whole = argc > 2 && std::string(argv[2]) == "whole";
  if (argc < 3 || argc > (whole ? 4 : 3))
    return fail("usage: audio_disk_check FILE MIN_SECONDS | FILE whole [SHORT_BLOCKS]");
  const char* number = whole ? (argc > 3 ? argv[3] : "0") : argv[2];
  char* number_end = nullptr;
  const double amount = std::strtod(number, &number_end);
  if (number_end == number || *number_end != '\0' || !(amount >= 0.0)) {
    return fail(std::string(whole ? "SHORT_BLOCKS is not a number of blocks: "
                                  : "MIN_SECONDS is not a number of seconds: ") +
                number);
  }

  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const bool wav = bytes.size() >= 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0 &&
                   std::memcmp(bytes.data() + 8, "WAVE", 4) == 0;
  std::vector<float> written;
  if (wav) {
    auto samples = wav_samples(bytes);
    if (const auto* why = std::get_if<std::string>(&samples)) return fail("not the song's WAV file: " + *why);
    written = std::get<std::vector<float>>(std::move(samples));
  } else {
    written.resize(bytes.size() / sizeof(float));
    std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(written.size() * sizeof(float)),
              reinterpret_cast<char*>(written.data()));
  }

  auto player = create_player(module_image, 48000);
  if (!std::holds_alternative<Player>(player)) return fail("embedded module refused");
  const std::vector<std::int16_t> song = render_song(std::get<Player>(player));
  const std::size_t played = song.size() - 1;  // the last sample is never played

  std::size_t start = 0;
  while (!wav && start + block <= written.size() &&
         std::all_of(written.begin() + static_cast<std::ptrdiff_t>(start),
                     written.begin() + static_cast<std::ptrdiff_t>(start + block),
                     [](float v) { return v == 0.0f; })) {
    start += block;
  }
  const std::size_t available = written.size() - start;
  const std::size_t compared = std::min(available, played);
  for (std::size_t k = 0; k < compared; ++k) {
    const float expected = static_cast<float>(song[k]) / 32767.0f;
    if (written[start + k] != expected) {
      return fail("sample " + std::to_string(k) + " of the song is " + std::to_string(written[start + k]) +
                  ", expected " + std::to_string(expected));
    }
  }
  std::printf("%zu silent blocks before the song; %zu song samples match (%.3f s)\n", start / block, compared,
              static_cast<double>(compared) / 48000.0);
  const double least = whole ? static_cast<double>(played) - amount * block : amount * 48000.0;
  if (static_cast<double>(compared) < least) {
    return fail(whole ? "the song was cut short"
                      : "only " + std::to_string(compared) + " samples of song were written");
  }
  for (std::size_t k = start + played; k < written.size(); ++k) {
    if (written[k] != 0.0f) return fail("sound after the song at sample " + std::to_string(k - start));
  }
  if (written.size() > start + played) {
    std::printf("%zu samples of silence after the song\n", written.size() - start - played);
  }
  return 0;
}
