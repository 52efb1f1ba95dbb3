#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

// Every text the scenes show. The main font holds only the space, # % , - . / 0-6 9 : @ and
// the Latin letters, so nothing here may use 7, 8 or any other sign; the logo font holds only
// the characters of the logo text.

inline constexpr std::string_view logo_text = "Zaq-Plume";

inline constexpr std::string_view marquee_text = "Come to Vexal25 :3";

// The headline above the block; the second one shows only in the act's last 0.75 s.
inline constexpr std::string_view first_headline = "Have some scrollers: x3";
inline constexpr std::string_view second_headline = "oh look a 64k tiny demo";

// The party's addresses, set into the block's last line.
inline constexpr std::string_view party_web_address = "vexal.party/2025";
inline constexpr std::string_view party_chat_room = "#vexal-2025:matrix.org";
inline constexpr std::string_view party_social_account = "@vexal@mastodon.social";

// The scrolling block. All lines start at the same pen, so the space runs set the words in
// columns: the invitation runs down the left diagonal, "Credits" and the credited handles down
// the right one, the contact addresses stand alone on the last line.
// Space runs, left to right: line 0: 51; line 1: 8, 34, 7; line 2: 22, 21, 16; line 3: 30, 4,
// 34; line 4: 37, 57; line 8: 7, 4.
inline constexpr std::array<std::string_view, 9> block_lines = {
    "Pls come to VeXal 2025"
    "                                                   "
    "Credits",
    "        "
    "Apr 10th - Apr 13th 2025"
    "                                  "
    "Zaq :3"
    "       "
    "harlop",
    "                      "
    "Casa Brunelo"
    "                     "
    "30CHF, paid on-site"
    "                "
    "quisty",
    "                              "
    "Tarn/Vellin"
    "    "
    "vexal.party/2025"
    "                                  "
    "gorma",
    "                                     "
    "Velomarkand"
    "                                                         "
    "/dev/snorkle",
    "",
    "",
    "",
    "       "
    "Matrix: #vexal-2025:matrix.org"
    "    "
    "Mastodon: @vexal@mastodon.social",
};

// The greetings header; the code points from 13 to 21 are the group's name, set in the logo
// font.
inline constexpr std::string_view greetings_header = "Greetings by Zaq-Plume to:";
inline constexpr std::size_t header_logo_first = 13;
inline constexpr std::size_t header_logo_last = 21;

// The greeted handles, row by row; a row shows them three spaces apart.
inline constexpr std::string_view handle_separator = "   ";
inline constexpr std::array<std::string_view, 4> greeting_row_0 = {"Quorn", "Oskol", "Mirve", "tep"};
inline constexpr std::array<std::string_view, 4> greeting_row_1 = {"Pirn", "zelka", "vu", "yev"};
inline constexpr std::array<std::string_view, 3> greeting_row_2 = {"nolet", "wobbly kettle", "fulco"};
inline constexpr std::array<std::string_view, 3> greeting_row_3 = {"Tivva", "drumel", "Zembra"};
inline constexpr std::array<std::span<const std::string_view>, 4> greeting_rows = {
    greeting_row_0, greeting_row_1, greeting_row_2, greeting_row_3};

// The remarks near the bottom, in drawing order (on screen the last stands on top).
inline constexpr std::string_view remark_onsite = "we did 90% onsite at glarnwickfest 2025,";
inline constexpr std::string_view remark_rest = "the rest 2 months ago";
inline constexpr std::string_view remark_sorry = "sorry for shit invite we have adhd";
