#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

// Lines put together at compile time from named texts and runs of spaces, so that a text shown
// inside a longer line (a party fact inside the scrolling block) is written once and the line
// still has its exact characters.

// One piece of a line: a text followed by a run of spaces (either may be empty).
struct TextPiece {
  std::string_view text;
  std::size_t spaces = 0;
};

constexpr TextPiece words(std::string_view text) { return TextPiece{text, 0}; }
constexpr TextPiece gap(std::size_t count) { return TextPiece{{}, count}; }

constexpr std::size_t composed_length(std::span<const TextPiece> pieces) {
  std::size_t length = 0;
  for (const TextPiece& piece : pieces) length += piece.text.size() + piece.spaces;
  return length;
}

// The characters of a composed line, held in a constant of static storage so that views of it
// stay valid for the whole program.
template <std::size_t Length>
struct ComposedText {
  std::array<char, Length> chars{};
  [[nodiscard]] constexpr std::string_view view() const { return {chars.data(), chars.size()}; }
};

// The pieces, in order, as one line.
template <const auto& Pieces>
constexpr ComposedText<composed_length(Pieces)> compose() {
  ComposedText<composed_length(Pieces)> line;
  std::size_t at = 0;
  for (const TextPiece& piece : Pieces) {
    for (const char c : piece.text) line.chars[at++] = c;
    for (std::size_t k = 0; k < piece.spaces; ++k) line.chars[at++] = ' ';
  }
  return line;
}
