// export_wav [OUTPUT.wav]: writes the demo's pre-rendered song as a 16-bit mono WAV file at
// 48000 Hz, so a person can listen to exactly what the program plays. The song's last sample
// is left out, as the audio callback never plays it.
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <variant>
#include <vector>

#include "music/mixer.h"
#include "music/module_image.h"
#include "music/player.h"

namespace {

constexpr std::uint32_t rate = 48000;

void put_u32(std::ofstream& out, std::uint32_t value) {
  const std::array<char, 4> bytes = {static_cast<char>(value), static_cast<char>(value >> 8),
                                     static_cast<char>(value >> 16), static_cast<char>(value >> 24)};
  out.write(bytes.data(), bytes.size());
}

void put_u16(std::ofstream& out, std::uint16_t value) {
  const std::array<char, 2> bytes = {static_cast<char>(value), static_cast<char>(value >> 8)};
  out.write(bytes.data(), bytes.size());
}

}  // namespace

// An exception that leaves main ends the tool through std::terminate, which names it.
// NOLINTNEXTLINE(bugprone-exception-escape)
int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "vexal25-herald.wav";
  auto player = create_player(module_image, rate);
  if (auto* error = std::get_if<ModuleError>(&player)) {
    std::fprintf(stderr, "export_wav: %s\n", error->message.c_str());
    return 1;
  }
  std::vector<std::int16_t> song = render_song(std::get<Player>(player));
  if (!song.empty()) song.pop_back();

  std::ofstream out(path, std::ios::binary);
  const auto data_bytes = static_cast<std::uint32_t>(song.size() * 2);
  out.write("RIFF", 4);
  put_u32(out, 36 + data_bytes);
  out.write("WAVEfmt ", 8);
  put_u32(out, 16);  // size of the format block
  put_u16(out, 1);   // integer PCM
  put_u16(out, 1);   // mono
  put_u32(out, rate);
  put_u32(out, rate * 2);  // bytes per second
  put_u16(out, 2);         // bytes per frame
  put_u16(out, 16);        // bits per sample
  out.write("data", 4);
  put_u32(out, data_bytes);
  for (const std::int16_t sample : song) put_u16(out, static_cast<std::uint16_t>(sample));
  out.close();
  if (!out) {
    std::fprintf(stderr, "export_wav: cannot write %s\n", path.c_str());
    return 1;
  }
  std::printf("%s: %zu samples, %.3f s at %u Hz\n", path.c_str(), song.size(),
              static_cast<double>(song.size()) / rate, rate);
  return 0;
}
