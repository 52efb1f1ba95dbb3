#include "text/utf8.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>
#include <vector>

namespace {
std::vector<std::uint32_t> walk(std::string_view text) {
  TextCursor cursor{text.data(), text.data() + text.size()};
  std::vector<std::uint32_t> out;
  for (std::uint32_t c = next_code_point(cursor); c != end_of_text; c = next_code_point(cursor))
    out.push_back(c);
  EXPECT_EQ(cursor.current, cursor.end);
  EXPECT_EQ(next_code_point(cursor), end_of_text) << "stays at the end";
  return out;
}
}  // namespace

TEST(Utf8, EmptyTextEndsAtOnce) {
  TextCursor cursor{"", ""};
  EXPECT_EQ(next_code_point(cursor), 0x110000u);
  EXPECT_EQ(next_code_point(cursor), 0x110000u);
}

TEST(Utf8, AsciiIsOneBytePerCharacter) { EXPECT_EQ(walk("ab"), (std::vector<std::uint32_t>{97, 98})); }

TEST(Utf8, DecodesTwoThreeAndFourByteSequences) {
  // U+00E9, U+20AC, U+1F600 and the highest of each length.
  EXPECT_EQ(walk("\xC3\xA9x\xE2\x82\xAC\xF0\x9F\x98\x80"),
            (std::vector<std::uint32_t>{0xE9, 'x', 0x20AC, 0x1F600}));
  EXPECT_EQ(walk("\xDF\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF"),
            (std::vector<std::uint32_t>{0x7FF, 0xFFFF, 0x10FFFF}));
}

TEST(Utf8, SequenceCutShortByTheEndDoesNotReadPastIt) {
  const std::array<char, 3> bytes = {'a', '\xE2', '\x82'};
  TextCursor cursor{bytes.data(), bytes.data() + bytes.size()};
  EXPECT_EQ(next_code_point(cursor), 97u);
  EXPECT_EQ(next_code_point(cursor), end_of_text);
  EXPECT_EQ(cursor.current, cursor.end);
}
