#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

// Lines put together at compile time from named texts set at their columns, so that a text shown
// inside a longer line (a party fact inside the scrolling block) is written once, the line still
// has its exact characters, and a fact of another length moves nothing after it.

// One piece of a line: a text set at a column, or right after the piece before it.
struct TextPiece {
  std::string_view text;
  std::size_t column = 0;
  bool at_column = false;
};

// The text starting at the column; spaces fill the line up to it.
constexpr TextPiece at(std::size_t column, std::string_view text) { return TextPiece{text, column, true}; }
// The text right after the piece before it, as part of the same phrase.
constexpr TextPiece words(std::string_view text) { return TextPiece{text, 0, false}; }

// Where each piece starts.
constexpr std::size_t piece_start(std::span<const TextPiece> pieces, std::size_t k) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < k; ++i) {
    if (pieces[i].at_column) start = pieces[i].column;
    start += pieces[i].text.size();
  }
  return pieces[k].at_column ? pieces[k].column : start;
}

constexpr std::size_t composed_length(std::span<const TextPiece> pieces) {
  return pieces.empty() ? 0 : piece_start(pieces, pieces.size() - 1) + pieces.back().text.size();
}

// The first piece that does not end at least one space before the next piece's column, or the
// number of pieces when every one fits.
constexpr std::size_t first_overrun(std::span<const TextPiece> pieces) {
  for (std::size_t k = 0; k + 1 < pieces.size(); ++k) {
    const TextPiece& next = pieces[k + 1];
    const std::size_t end = piece_start(pieces, k) + pieces[k].text.size();
    if (next.at_column && end + 1 > next.column && !(end == 0 && next.column == 0)) return k;
  }
  return pieces.size();
}

// A text of a line, as the compiler shows it in a message: its first characters.
struct TextLabel {
  std::array<char, 64> chars{};
};
constexpr TextLabel label_of(std::string_view text) {
  TextLabel label;
  for (std::size_t i = 0; i < text.size() && i + 1 < label.chars.size(); ++i) label.chars[i] = text[i];
  return label;
}

// Instantiated for a text that runs into the column of the text after it: the compiler names the
// line's pieces and the piece's place in them, the text, where it ends and the column it runs into.
template <const auto& Pieces, std::size_t Piece, TextLabel Text, std::size_t Ends, std::size_t NextColumn>
struct TextRunsIntoTheNextColumn {
  static_assert(Ends < NextColumn,
                "a text of a composed line is too long for its column: the line above names the line's "
                "pieces, the piece, its text, the column where it ends and the next text's column; shorten "
                "the text or move the columns");
  static constexpr bool fits = true;
};

// The characters of a composed line, held in a constant of static storage so that views of it
// stay valid for the whole program.
template <std::size_t Length>
struct ComposedText {
  std::array<char, Length> chars{};
  [[nodiscard]] constexpr std::string_view view() const { return {chars.data(), chars.size()}; }
};

// The pieces, in order, as one line; a text too long for its column stops the build.
template <const auto& Pieces>
constexpr ComposedText<composed_length(Pieces)> compose() {
  constexpr std::size_t overrun = first_overrun(Pieces);
  if constexpr (overrun < Pieces.size()) {
    static_assert(TextRunsIntoTheNextColumn<Pieces, overrun, label_of(Pieces[overrun].text),
                                            piece_start(Pieces, overrun) + Pieces[overrun].text.size(),
                                            Pieces[overrun + 1].column>::fits);
  }
  ComposedText<composed_length(Pieces)> line;
  line.chars.fill(' ');
  for (std::size_t k = 0; k < Pieces.size(); ++k) {
    std::size_t at = piece_start(Pieces, k);
    for (const char c : Pieces[k].text) line.chars[at++] = c;
  }
  return line;
}
