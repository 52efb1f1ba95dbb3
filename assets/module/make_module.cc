// make_module SCORE OUTPUT
//
// Writes the demo's four-channel "M.K." module from its text score. The score holds the title,
// the order list, the restart byte and the note data of every pattern, written as a tracker
// shows it ("D-2 02 C31"); the sample table and the waveforms live here, each waveform computed
// from its formula, so the module is rebuilt byte for byte from readable sources.
//
// Score syntax (blank lines and comments, from a '#' that starts a word, are ignored):
//   title TEXT                      up to 20 characters, zero-padded
//   restart N                       the restart byte
//   order P P P ...                 the patterns played, in order (up to 128)
//   pattern N                       followed by exactly 64 row lines:
//   RR | cell | cell | cell | cell  row number (decimal), then channels 0 to 3
// A cell is NOTE SAMPLE EFFECT: NOTE is a note name C-1 .. B-3 or "---", SAMPLE two hex digits
// (01..1F) or "..", EFFECT three hex digits (command and parameter) or "...".

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int channel_count = 4;
constexpr int row_count = 64;

// The tracker's periods of octaves 1 to 3, C-1 first: about 856 x 2^(-n/12) for n semitones above
// C-1; the tracker's own table, whose rounding differs from the formula by one in a few entries.
constexpr std::array<std::uint16_t, 36> period_table{
    856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,  //
    428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,  //
    214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};

constexpr std::array<std::string_view, 12> note_names{"C-", "C#", "D-", "D#", "E-", "F-",
                                                      "F#", "G-", "G#", "A-", "A#", "B-"};

struct Cell {
  std::uint16_t period = 0;
  std::uint8_t sample = 0;
  std::uint8_t effect = 0;
  std::uint8_t param = 0;
};

using Pattern = std::array<std::array<Cell, channel_count>, row_count>;

struct Score {
  std::string title;
  int restart = 0;
  std::vector<int> order;
  std::map<int, Pattern> patterns;
};

// One sample header as the tracker stores it: lengths and loop points in 16-bit words.
struct SampleHeader {
  std::string_view name;
  std::uint16_t length_words;
  std::uint8_t finetune_nibble;
  std::uint8_t volume;
  std::uint16_t loop_start_words;
  std::uint16_t loop_length_words;
};

// Samples 1 to 6; the rest of the 31 are empty.
constexpr std::array<SampleHeader, 6> sample_headers{{
    {"2a03", 23, 3, 64, 0, 23},
    {"2a03 triangle", 47, 4, 50, 0, 46},
    {"2a03 50", 46, 3, 40, 0, 46},
    {"BTAA0D0", 574, 7, 64, 0, 1},
    {"", 0, 7, 64, 0, 1},
    {"HHCD0", 297, 7, 64, 0, 1},
}};
constexpr SampleHeader empty_header{"", 0, 0, 64, 0, 1};

std::int8_t to_byte(double v) {
  const long r = std::lround(v);
  return static_cast<std::int8_t>(r < -128 ? -128 : r > 127 ? 127 : r);
}

// Sample 1, the lead: one cycle of a narrow pulse. The high part sags as a coupled square does,
// a two-byte edge falls to the short low part, which sinks a little further.
std::vector<std::int8_t> narrow_pulse() {
  std::vector<std::int8_t> out;
  out.reserve(46);
  for (int i = 0; i < 38; ++i) out.push_back(to_byte(26.0 - 21.0 * i / 37.0));
  out.push_back(-25);
  out.push_back(-62);
  for (int i = 0; i < 6; ++i) out.push_back(to_byte(-80.0 - 20.0 * i / 5.0));
  return out;
}

// Sample 2, the bass: one cycle of a triangle on 16 levels, the stepped triangle of a
// console sound chip. It falls from the top level to the bottom over 47 bytes and climbs back.
std::vector<std::int8_t> stepped_triangle() {
  std::vector<std::int8_t> out;
  for (int i = 0; i < 94; ++i) {
    const double ramp = i < 47 ? 1.0 - i / 47.0 : (i - 47) / 47.0;  // 1 -> 0 -> ~1
    const int level = static_cast<int>(std::lround(ramp * 15.0));
    out.push_back(to_byte(-121.0 + level * 246.0 / 15.0));
  }
  return out;
}

// Sample 3, the harmony: one cycle of a half-duty square whose both halves droop toward zero
// exponentially, from 75 to about 30 and from -80 to about -31.
std::vector<std::int8_t> drooping_square() {
  std::vector<std::int8_t> out;
  out.reserve(92);
  for (int i = 0; i < 46; ++i) out.push_back(to_byte(75.0 * std::pow(30.0 / 75.0, i / 45.0)));
  for (int i = 0; i < 46; ++i) out.push_back(to_byte(-80.0 * std::pow(31.0 / 80.0, i / 45.0)));
  return out;
}

// Sample 4, the bass drum: a sine whose cycle grows from 40 to 130 bytes (about 11 cycles in
// all), under an exponential decay that closes to zero at the end, softly saturated so the
// first peak reaches full scale.
std::vector<std::int8_t> bass_drum() {
  constexpr int n = 1148;
  constexpr double f_start = 1.0 / 40.0, f_end = 1.0 / 130.0, sweep = 150.0;
  std::vector<std::int8_t> out;
  for (int i = 0; i < n; ++i) {
    const double cycles = f_end * i + (f_start - f_end) * sweep * (1.0 - std::exp(-i / sweep));
    const double envelope = std::exp(-3.0 * i / n) * (1.0 - static_cast<double>(i) / n);
    const double x = envelope * std::sin(2.0 * std::numbers::pi * cycles);
    out.push_back(to_byte(127.0 * std::tanh(1.6 * x) / std::tanh(1.6)));
  }
  return out;
}

// Sample 6, the hi-hat: high-passed white noise from a fixed-seed xorshift generator, so the
// bytes are the same on every run, under an exponential decay over its 594 bytes.
std::vector<std::int8_t> hi_hat() {
  constexpr int n = 594;
  std::uint32_t state = 0x2A03u;
  auto next_noise = [&state] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<double>(state) / 2147483648.0 - 1.0;  // -1 .. 1
  };
  std::vector<std::int8_t> out;
  double previous = next_noise();
  for (int i = 0; i < n; ++i) {
    const double noise = next_noise();
    const double bright = noise - previous;  // first difference: only the hiss is left
    previous = noise;
    const double envelope = std::exp(-2.5 * i / n) * (1.0 - static_cast<double>(i) / n);
    out.push_back(to_byte(110.0 * envelope * bright));
  }
  return out;
}

std::vector<std::int8_t> waveform(int sample_number) {
  switch (sample_number) {
    case 1:
      return narrow_pulse();
    case 2:
      return stepped_triangle();
    case 3:
      return drooping_square();
    case 4:
      return bass_drum();
    case 6:
      return hi_hat();
    default:
      return {};
  }
}

[[noreturn]] void fail(int line, const std::string& what) {
  std::cerr << "make_module: score line " << line << ": " << what << '\n';
  std::exit(1);
}

int parse_hex(std::string_view s, int line) {
  int v = 0;
  for (char c : s) {
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else
      fail(line, "bad hex digit in '" + std::string(s) + "'");
    v = v * 16 + d;
  }
  return v;
}

std::uint16_t parse_note(const std::string& s, int line) {
  if (s == "---") return 0;
  if (s.size() == 3 && s[2] >= '1' && s[2] <= '3') {
    for (std::size_t k = 0; k < note_names.size(); ++k) {
      if (s.compare(0, 2, note_names[k]) == 0)
        return period_table[(static_cast<std::size_t>(s[2] - '1') * 12) + k];
    }
  }
  fail(line, "bad note '" + s + "' (C-1 .. B-3 or ---)");
}

Cell parse_cell(const std::string& text, int line) {
  std::istringstream in(text);
  std::string note, sample, effect, extra;
  if (!(in >> note >> sample >> effect) || (in >> extra)) fail(line, "a cell is NOTE SAMPLE EFFECT");
  Cell cell;
  cell.period = parse_note(note, line);
  if (sample != "..") {
    if (sample.size() != 2) fail(line, "bad sample '" + sample + "'");
    const int n = parse_hex(sample, line);
    if (n < 1 || n > 31) fail(line, "sample out of 01..1F");
    cell.sample = static_cast<std::uint8_t>(n);
  }
  if (effect != "...") {
    if (effect.size() != 3) fail(line, "bad effect '" + effect + "'");
    cell.effect = static_cast<std::uint8_t>(parse_hex(effect.substr(0, 1), line));
    cell.param = static_cast<std::uint8_t>(parse_hex(effect.substr(1), line));
  }
  return cell;
}

// A comment starts with a '#' at the start of a line or after a blank; the '#' inside a
// note name such as "A#1" is part of the note.
std::string strip_comment(const std::string& raw) {
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '#' && (i == 0 || raw[i - 1] == ' ' || raw[i - 1] == '\t')) return raw.substr(0, i);
  }
  return raw;
}

// Inside a pattern: "RR | cell | cell | cell | cell".
void read_pattern_row(const std::string& text, int line, int row, Pattern& pattern) {
  std::vector<std::string> fields;
  std::string field;
  std::istringstream parts(text);
  while (std::getline(parts, field, '|')) fields.push_back(field);
  if (fields.size() != 1 + channel_count) fail(line, "a row is RR and four cells split by '|'");
  if (std::stoi(fields[0]) != row) fail(line, "expected row " + std::to_string(row));
  for (int c = 0; c < channel_count; ++c) pattern[row][c] = parse_cell(fields[1 + c], line);
}

// A directive outside the patterns; "pattern N" returns the pattern whose rows follow.
Pattern* read_directive(Score& score, const std::string& head, std::istringstream& words,
                        const std::string& text, int line) {
  if (head == "title") {
    const auto start = text.find_first_not_of(" \t", text.find("title") + 5);
    const auto end = text.find_last_not_of(" \t\r");
    score.title = start == std::string::npos ? "" : text.substr(start, end - start + 1);
    if (score.title.size() > 20) fail(line, "title longer than 20 characters");
  } else if (head == "restart") {
    if (!(words >> score.restart) || score.restart < 0 || score.restart > 255) fail(line, "bad restart");
  } else if (head == "order") {
    int p = 0;
    while (words >> p) {
      if (p < 0 || p > 127) fail(line, "pattern number out of 0..127");
      score.order.push_back(p);
    }
    if (score.order.empty() || score.order.size() > 128) fail(line, "order needs 1..128 entries");
  } else if (head == "pattern") {
    int n = 0;
    if (!(words >> n) || n < 0 || n > 127) fail(line, "bad pattern number");
    if (score.patterns.contains(n)) fail(line, "pattern given twice");
    return &score.patterns[n];
  } else {
    fail(line, "unknown directive '" + head + "'");
  }
  return nullptr;
}

Score read_score(std::istream& in) {
  Score score;
  std::string raw;
  int line = 0;
  Pattern* pattern = nullptr;
  int next_row = row_count;
  while (std::getline(in, raw)) {
    ++line;
    const std::string text = strip_comment(raw);
    std::istringstream words(text);
    std::string head;
    if (!(words >> head)) continue;
    if (next_row < row_count) {
      read_pattern_row(text, line, next_row, *pattern);
      ++next_row;
    } else if (Pattern* started = read_directive(score, head, words, text, line)) {
      pattern = started;
      next_row = 0;
    }
  }
  if (next_row < row_count) fail(line, "pattern ends before row 63");
  return score;
}

void put_word(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
}

std::vector<std::uint8_t> build_module(const Score& score) {
  // The title, zero-padded to its 20 bytes.
  std::vector<std::uint8_t> out(20, 0);
  std::copy_n(score.title.begin(), std::min<std::size_t>(score.title.size(), 20), out.begin());
  for (int k = 1; k <= 31; ++k) {
    const SampleHeader& h =
        k <= static_cast<int>(sample_headers.size()) ? sample_headers[k - 1] : empty_header;
    for (std::size_t i = 0; i < 22; ++i) out.push_back(i < h.name.size() ? h.name[i] : 0);
    put_word(out, h.length_words);
    out.push_back(h.finetune_nibble & 0x0F);
    out.push_back(h.volume);
    put_word(out, h.loop_start_words);
    put_word(out, h.loop_length_words);
    if (waveform(k).size() != std::size_t{2} * h.length_words) {
      std::cerr << "make_module: waveform of sample " << k << " does not fill its length\n";
      std::exit(1);
    }
  }
  out.push_back(static_cast<std::uint8_t>(score.order.size()));
  out.push_back(static_cast<std::uint8_t>(score.restart));
  int pattern_count = 0;
  for (int i = 0; i < 128; ++i) {
    const int p = i < static_cast<int>(score.order.size()) ? score.order[i] : 0;
    out.push_back(static_cast<std::uint8_t>(p));
    pattern_count = std::max(pattern_count, p + 1);
  }
  for (char c : std::string_view("M.K.")) out.push_back(static_cast<std::uint8_t>(c));
  // Every pattern up to the highest one played is stored, also those the order list skips.
  for (int p = 0; p < pattern_count; ++p) {
    const auto found = score.patterns.find(p);
    if (found == score.patterns.end()) {
      std::cerr << "make_module: pattern " << p << " is missing from the score\n";
      std::exit(1);
    }
    for (const auto& row : found->second) {
      for (const Cell& cell : row) {
        out.push_back(static_cast<std::uint8_t>((cell.sample & 0x10) | (cell.period >> 8)));
        out.push_back(static_cast<std::uint8_t>(cell.period & 0xFF));
        out.push_back(static_cast<std::uint8_t>(((cell.sample & 0x0F) << 4) | cell.effect));
        out.push_back(cell.param);
      }
    }
  }
  if (static_cast<int>(score.patterns.size()) > pattern_count) {
    std::cerr << "make_module: the score has patterns beyond the highest one played\n";
    std::exit(1);
  }
  for (int k = 1; k <= 31; ++k) {
    for (std::int8_t v : waveform(k)) out.push_back(static_cast<std::uint8_t>(v));
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_module SCORE OUTPUT\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << "make_module: cannot read " << argv[1] << '\n';
    return 1;
  }
  const std::vector<std::uint8_t> image = build_module(read_score(in));
  std::ofstream out(argv[2], std::ios::binary);
  out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  if (!out.flush()) {
    std::cerr << "make_module: cannot write " << argv[2] << '\n';
    return 1;
  }
  return 0;
}
