#include "scenes/texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "scenes/motion.h"

namespace {

// Every character the main font holds: the space, # % , - . / 0-6 9 : @ and the letters.
bool in_main_font(char c) {
  constexpr std::string_view signs = " #%,-./01234569:@";
  return signs.find(c) != std::string_view::npos || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool all_in_main_font(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return in_main_font(c); });
}

// NOLINTNEXTLINE(modernize-return-braced-init-list): braces would pick the initializer-list constructor
std::string spaces(std::size_t count) { return std::string(count, ' '); }

}  // namespace

TEST(SceneTexts, BlockLinesHaveTheirLengthsAndSpaceRuns) {
  constexpr std::array<std::size_t, 9> lengths = {80, 85, 96, 100, 117, 0, 0, 0, 73};
  for (std::size_t i = 0; i < block_lines.size(); ++i)
    EXPECT_EQ(block_lines[i].size(), lengths[i]) << "line " << i;

  EXPECT_EQ(block_lines[0], "Pls come to VeXal 2025" + spaces(51) + "Credits");
  EXPECT_EQ(block_lines[1],
            spaces(8) + "Apr 10th - Apr 13th 2025" + spaces(34) + "Zaq :3" + spaces(7) + "harlop");
  EXPECT_EQ(block_lines[2],
            spaces(22) + "Casa Brunelo" + spaces(21) + "30CHF, paid on-site" + spaces(16) + "quisty");
  EXPECT_EQ(block_lines[3],
            spaces(30) + "Tarn/Vellin" + spaces(4) + std::string(party_web_address) + spaces(34) + "gorma");
  EXPECT_EQ(block_lines[4], spaces(37) + "Velomarkand" + spaces(57) + "/dev/snorkle");
  EXPECT_EQ(block_lines[8], spaces(7) + "Matrix: " + std::string(party_chat_room) + spaces(4) +
                                "Mastodon: " + std::string(party_social_account));
}

TEST(SceneTexts, PartyAddressesFitTheirColumnsAndTheMainFont) {
  EXPECT_EQ(party_web_address.size(), 16u);
  EXPECT_EQ(party_chat_room.size(), 22u);
  EXPECT_EQ(party_social_account.size(), 22u);
  EXPECT_EQ(party_chat_room.front(), '#');
  EXPECT_EQ(party_social_account.front(), '@');
  for (const std::string_view address : {party_web_address, party_chat_room, party_social_account}) {
    EXPECT_TRUE(all_in_main_font(address)) << address;
    EXPECT_EQ(address.find_first_of("78"), std::string_view::npos) << address;
  }
}

TEST(SceneTexts, EveryRunningTextUsesOnlyMainFontCharacters) {
  for (const std::string_view line : block_lines) EXPECT_TRUE(all_in_main_font(line)) << line;
  for (const std::string_view text :
       {marquee_text, first_headline, second_headline, remark_onsite, remark_rest, remark_sorry}) {
    EXPECT_TRUE(all_in_main_font(text)) << text;
  }
  for (std::size_t r = 0; r < greeting_row_count; ++r) EXPECT_TRUE(all_in_main_font(shown_greeting_row(r)));
  for (std::size_t k = 0; k < greetings_header.size(); ++k) {
    if (k < header_logo_first || k > header_logo_last) {
      EXPECT_TRUE(in_main_font(greetings_header[k])) << k;
    }
  }
}

TEST(SceneTexts, LengthsOfTheShortTexts) {
  EXPECT_EQ(logo_text.size(), 9u);
  EXPECT_EQ(marquee_text.size(), 18u);
  EXPECT_EQ(first_headline.size(), 23u);
  EXPECT_EQ(second_headline.size(), 23u);
  EXPECT_EQ(greetings_header.size(), 26u);
  EXPECT_EQ(remark_onsite.size(), 40u);
  EXPECT_EQ(remark_rest.size(), 21u);
  EXPECT_EQ(remark_sorry.size(), 34u);
  // The code points 13 to 21 of the header are exactly the group's name.
  EXPECT_EQ(greetings_header.substr(header_logo_first, header_logo_last - header_logo_first + 1), logo_text);
}

TEST(SceneTexts, GreetingRowsShowHandlesThreeSpacesApart) {
  EXPECT_EQ(shown_greeting_row(0), "Quorn   Oskol   Mirve   tep");
  EXPECT_EQ(shown_greeting_row(1), "Pirn   zelka   vu   yev");
  EXPECT_EQ(shown_greeting_row(2), "nolet   wobbly kettle   fulco");
  EXPECT_EQ(shown_greeting_row(3), "Tivva   drumel   Zembra");
  constexpr std::array<std::size_t, 4> lengths = {27, 23, 29, 23};
  for (std::size_t r = 0; r < greeting_row_count; ++r) {
    const std::string row = shown_greeting_row(r);
    EXPECT_EQ(row.size(), lengths[r]);
    EXPECT_NE(row.front(), ' ');
    EXPECT_NE(row.back(), ' ');
  }
}
