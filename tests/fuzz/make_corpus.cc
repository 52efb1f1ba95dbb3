// make_corpus DIR: writes the small seed modules of the module fuzzer into DIR. Each one is a
// valid image that reaches one group of the player's paths (effects, flow control, sample
// loops), so the fuzzer starts from inputs that already play and mutates from there.
// Regenerate with: build/fuzz/bin/make_corpus tests/fuzz/corpus
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "music/module_builder.h"

namespace {

// A short ramp, so every sample has audible, non-constant bytes.
std::vector<std::int8_t> ramp(int bytes) {
  std::vector<std::int8_t> out;
  for (int k = 0; k < bytes; ++k) out.push_back(static_cast<std::int8_t>((k * 37) % 256 - 128));
  return out;
}

std::vector<TestSample> two_samples() {
  return {test_sample(1, 16, 0, 16, ramp(32), 0x03, 64), test_sample(2, 24, 0, 1, ramp(48), 0x0F, 40)};
}

TestModule effects_module() {
  TestModule module;
  module.samples = two_samples();
  module.order = {0};
  int row = 0;
  auto cell = [&](int channel, std::uint16_t period, std::uint8_t instrument, std::uint8_t effect,
                  std::uint8_t param) {
    module.cells.push_back({0, row, channel, period, instrument, effect, param});
  };
  cell(0, 428, 1, 0x0, 0x37);  // arpeggio
  cell(1, 214, 2, 0x1, 0x04);  // portamento up
  cell(2, 856, 1, 0x2, 0x08);  // portamento down
  cell(3, 113, 1, 0xF, 0x03);  // speed 3
  row = 4;
  cell(0, 320, 0, 0x3, 0x10);  // tone portamento
  cell(1, 0, 0, 0x4, 0x8F);    // vibrato
  cell(2, 0, 0, 0x7, 0x4C);    // tremolo
  cell(3, 0, 0, 0xE, 0x43);    // vibrato waveform: random
  row = 8;
  cell(0, 500, 0, 0x5, 0x0F);  // tone portamento + volume slide
  cell(1, 0, 0, 0x6, 0xF0);    // vibrato + volume slide
  cell(2, 0, 0, 0xA, 0x35);    // volume slide
  cell(3, 0, 0, 0xE, 0x72);    // tremolo waveform: square
  row = 12;
  cell(0, 0, 0, 0xE, 0x1F);  // fine portamento up
  cell(1, 0, 0, 0xE, 0x2F);  // fine portamento down
  cell(2, 0, 0, 0xE, 0xA9);  // fine volume up
  cell(3, 0, 0, 0xE, 0xB9);  // fine volume down
  row = 16;
  cell(0, 14, 1, 0x4, 0xFF);    // vibrato at the shortest period
  cell(1, 4095, 2, 0xF, 0xFF);  // tempo 255, longest period
  cell(2, 428, 1, 0xE, 0x58);   // finetune -8
  cell(3, 428, 1, 0x8, 0x40);   // panning, ignored with four channels
  return module;
}

TestModule flow_module() {
  TestModule module;
  module.samples = two_samples();
  module.order = {0, 1, 0, 1};
  auto cell = [&](int pattern, int row, int channel, std::uint16_t period, std::uint8_t instrument,
                  std::uint8_t effect, std::uint8_t param) {
    module.cells.push_back({pattern, row, channel, period, instrument, effect, param});
  };
  cell(0, 0, 0, 428, 1, 0xE, 0x60);   // loop start
  cell(0, 1, 1, 428, 2, 0xE, 0xD2);   // note delay
  cell(0, 2, 2, 428, 1, 0xE, 0xC1);   // note cut
  cell(0, 3, 3, 428, 1, 0xE, 0x92);   // retrigger
  cell(0, 4, 0, 0, 0, 0xE, 0x62);     // loop end: three times
  cell(0, 5, 1, 0, 0, 0xE, 0xE2);     // pattern delay
  cell(0, 6, 2, 0, 0, 0xF, 0x01);     // speed 1
  cell(0, 7, 3, 0, 0, 0xD, 0x32);     // pattern break to row 32
  cell(1, 32, 0, 428, 1, 0xB, 0x03);  // position jump forward
  cell(1, 40, 1, 0, 0, 0xD, 0x99);    // pattern break past the last row
  cell(1, 48, 2, 0, 0, 0xB, 0xFF);    // position jump past the song
  return module;
}

TestModule sample_module() {
  TestModule module;
  // Loops stored in bytes, loops cut at the end, one-word loops and instruments 16..31.
  module.samples = {test_sample(1, 100, 120, 40, ramp(200)), test_sample(2, 100, 90, 60, ramp(200)),
                    test_sample(3, 100, 99, 60, ramp(200)), test_sample(17, 8, 0, 8, ramp(16)),
                    test_sample(31, 2, 0, 2, ramp(4))};
  module.order = {0};
  auto cell = [&](int row, int channel, std::uint16_t period, std::uint8_t instrument, std::uint8_t effect,
                  std::uint8_t param) {
    module.cells.push_back({0, row, channel, period, instrument, effect, param});
  };
  cell(0, 0, 428, 1, 0x9, 0xFF);  // sample offset far past the end
  cell(0, 1, 428, 2, 0x9, 0x01);
  cell(0, 2, 428, 3, 0x0, 0x00);
  cell(0, 3, 428, 17, 0xC, 0x40);
  cell(8, 0, 0, 31, 0x0, 0x00);   // instrument without a period
  cell(8, 1, 300, 0, 0x0, 0x00);  // period without an instrument
  cell(8, 2, 428, 5, 0x0, 0x00);  // an empty sample
  cell(8, 3, 428, 17, 0x3, 0xFF);
  return module;
}

bool write(const std::string& path, const std::vector<std::uint8_t>& image) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_corpus DIR\n";
    return 2;
  }
  const std::string dir = argv[1];
  bool ok = write(dir + "/effects.mod", build_module(effects_module()));
  ok = write(dir + "/flow.mod", build_module(flow_module())) && ok;
  ok = write(dir + "/samples.mod", build_module(sample_module())) && ok;
  // An order entry with bit 7 set names a pattern past the counted ones.
  TestModule high = flow_module();
  high.order = {0, 0x81};
  ok = write(dir + "/order_high_bit.mod", build_module(high)) && ok;
  // A header that promises more sample bytes than the image holds.
  std::vector<std::uint8_t> short_image = build_module(sample_module());
  short_image.resize(short_image.size() - 3);
  ok = write(dir + "/truncated.mod", short_image) && ok;
  return ok ? 0 : 1;
}
