#pragma once

// Reader of a four-channel tracker module in the 31-sample "M.K." layout. The reader never
// copies the image: samples and the player hold views into it, so the image must outlive them
// (the embedded module is a constant of the program).

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <variant>

// Byte offsets of the module image.
inline constexpr std::size_t sample_headers_offset = 20;  // 31 headers of 30 bytes
inline constexpr std::size_t sample_header_size = 30;
inline constexpr std::size_t order_list_offset = 952;  // 128 pattern numbers
inline constexpr std::size_t order_list_size = 128;
inline constexpr std::size_t pattern_data_offset = 1084;  // after the "M.K." signature
inline constexpr std::size_t pattern_size = 1024;         // 64 rows x 4 channels x 4 bytes
inline constexpr std::size_t rows_per_pattern = 64;

// One entry of the sample table. Positions are fixed point with 14 fraction bits.
struct Sample {
  std::span<const std::uint8_t> data;  // from the sample's first byte to the end of the image
  std::uint64_t loop_start = 0;        // a one-shot sample's length
  std::uint64_t loop_length = 0;       // 0 for a one-shot sample
  std::uint8_t volume = 0;             // 0..64
  std::uint8_t finetune = 0;           // finetune table index 0..15, 8 = untuned
};

// The effect codes of a decoded cell. The format's main effects keep their numbers; its
// effect 0 with a parameter becomes the arpeggio at 0x0E, which is free because the extended
// group E0x..EFx moves to 0x10..0x1F with x as the parameter.
enum class Effect : std::uint8_t {
  none = 0x00,
  portamento_up = 0x01,
  portamento_down = 0x02,
  tone_portamento = 0x03,
  vibrato = 0x04,
  tone_portamento_volume_slide = 0x05,
  vibrato_volume_slide = 0x06,
  tremolo = 0x07,
  set_panning = 0x08,
  sample_offset = 0x09,
  volume_slide = 0x0A,
  position_jump = 0x0B,
  set_volume = 0x0C,
  pattern_break = 0x0D,
  arpeggio = 0x0E,
  set_speed_or_tempo = 0x0F,
  set_filter = 0x10,  // E0x: the first of the extended group
  fine_portamento_up = 0x11,
  fine_portamento_down = 0x12,
  glissando_control = 0x13,
  vibrato_waveform = 0x14,
  set_finetune = 0x15,
  pattern_loop = 0x16,
  tremolo_waveform = 0x17,
  unused_e8 = 0x18,
  retrigger = 0x19,
  fine_volume_up = 0x1A,
  fine_volume_down = 0x1B,
  note_cut = 0x1C,
  note_delay = 0x1D,
  pattern_delay = 0x1E,
  invert_loop = 0x1F,
};

// One decoded pattern cell.
struct Note {
  std::uint16_t period = 0;     // 0: no new note
  std::uint8_t instrument = 0;  // 0..31, 0: no sample number
  std::uint8_t effect = 0;      // an Effect code, 0x00..0x1F
  std::uint8_t param = 0;
  bool operator==(const Note&) const = default;
};

constexpr Effect effect_of(const Note& note) { return static_cast<Effect>(note.effect); }

// Why an image cannot be played.
struct ModuleError {
  std::string message;
};

// 1 + the largest pattern number (masked to 7 bits) over all 128 order-list entries, 1..128.
std::int64_t count_patterns(std::span<const std::uint8_t, 128> order_list);

// The 32-entry sample table: entry 0 is the empty sample, 1..31 come from the headers. Refuses
// an image whose headers, pattern data or sample data run past its end.
std::variant<std::array<Sample, 32>, ModuleError> read_sample_table(std::span<const std::uint8_t> image,
                                                                    std::int64_t pattern_count);

// Decodes the four bytes of a cell.
Note decode_note(std::span<const std::uint8_t, 4> cell);
