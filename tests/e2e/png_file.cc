#include "e2e/png_file.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The CRC-32 of PNG chunks and gzip, polynomial 0xEDB88320, table made on first use.
std::uint32_t crc32(const Bytes& bytes, std::size_t from) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t.at(n) = c;
    }
    return t;
  }();
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t k = from; k < bytes.size(); ++k) c = table.at((c ^ bytes[k]) & 0xFFu) ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void put32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void chunk(Bytes& out, std::string_view type, const Bytes& data) {
  put32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t from = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  put32(out, crc32(out, from));
}

// A zlib stream of stored blocks of at most 65535 bytes each, with its Adler-32.
Bytes zlib_stored(const Bytes& raw) {
  Bytes out{0x78, 0x01};
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  std::size_t at = 0;
  do {
    const std::size_t length = std::min<std::size_t>(raw.size() - at, 65535);
    const bool last = at + length == raw.size();
    out.push_back(last ? 1 : 0);
    const auto n = static_cast<std::uint16_t>(length);
    for (const std::uint16_t v : {n, static_cast<std::uint16_t>(~n)}) {
      out.push_back(static_cast<std::uint8_t>(v & 0xFFu));
      out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    for (std::size_t k = at; k < at + length; ++k) {
      a = (a + raw[k]) % 65521u;
      b = (b + a) % 65521u;
    }
    out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
               raw.begin() + static_cast<std::ptrdiff_t>(at + length));
    at += length;
  } while (at < raw.size());
  put32(out, (b << 16) | a);
  return out;
}

}  // namespace

bool write_png(const std::string& path, const Picture& picture) {
  const auto row = static_cast<std::size_t>(picture.width) * 3;
  Bytes raw;
  raw.reserve((row + 1) * static_cast<std::size_t>(picture.height));
  for (int y = 0; y < picture.height; ++y) {
    raw.push_back(0);  // each row unfiltered
    const auto from = picture.rgb.begin() + static_cast<std::ptrdiff_t>(row * static_cast<std::size_t>(y));
    raw.insert(raw.end(), from, from + static_cast<std::ptrdiff_t>(row));
  }
  Bytes header;
  put32(header, static_cast<std::uint32_t>(picture.width));
  put32(header, static_cast<std::uint32_t>(picture.height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter choice, no interlace
  Bytes file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  chunk(file, "IHDR", header);
  chunk(file, "IDAT", zlib_stored(raw));
  chunk(file, "IEND", {});
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return static_cast<bool>(out);
}
