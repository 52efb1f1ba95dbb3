#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <type_traits>
#include <utility>

#include "text/font_tables.h"

// A text checked against its font when the program is built: a character the font has no glyph
// for stops the build, where at run time it would stop the program at its first frame. The
// compiler's message names the template FontLacksACharacterOfTheText with the text's constant,
// the font, the missing code point and, for ASCII, the character itself.

inline constexpr std::uint32_t no_missing_character = 0x110000;

// The first code point of the UTF-8 text that the font lacks, or no_missing_character. The
// texts are constants of the program, so they are decoded without validation, as at run time.
constexpr std::uint32_t first_missing_character(std::string_view text, Font font) {
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::uint32_t code_point = length == 1 ? lead : lead & (0x7Fu >> length);
    for (std::size_t k = 1; k < length && at + k < text.size(); ++k)
      code_point = (code_point << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3Fu);
    if (!font_holds(font, code_point)) return code_point;
    at += length;
  }
  return no_missing_character;
}

// Texts is a text, or an array of texts of which the one at Index is checked: the compiler names
// a constant, never an element of one, in a template argument.
template <const auto& Texts, std::size_t Index>
constexpr std::string_view text_at() {
  if constexpr (std::is_convertible_v<decltype(Texts), std::string_view>) {
    return Texts;
  } else {
    return Texts[Index];
  }
}

template <const auto& Texts, std::size_t Index, Font In, std::uint32_t CodePoint, char Character>
struct FontLacksACharacterOfTheText {
  static_assert(
      CodePoint == no_missing_character,
      "a text holds a character that its font has no glyph for: the line above names the text (and "
      "its place in its list), the font and the character; give the font's source a glyph for it and "
      "bake the fonts again (assets/fonts), or change the text");
  static constexpr bool held = true;
};

template <const auto& Texts, std::size_t Index, Font In>
constexpr bool held_at() {
  constexpr std::uint32_t missing = first_missing_character(text_at<Texts, Index>(), In);
  constexpr char shown = missing < 0x80 ? static_cast<char>(missing) : '?';
  return FontLacksACharacterOfTheText<Texts, Index, In, missing, shown>::held;
}

// True when the font holds every character of the text; otherwise the build stops.
template <const std::string_view& Text, Font In>
constexpr bool held_by_font() {
  return held_at<Text, 0, In>();
}

// The same for every text of an array of them.
template <const auto& Texts, Font In>
constexpr bool all_held_by_font() {
  return []<std::size_t... K>(std::index_sequence<K...>) { return (held_at<Texts, K, In>() && ...); }
  (std::make_index_sequence<std::size(Texts)>{});
}
