#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "scenes/composed_text.h"

// Every text the scenes show. The main font holds only the space, # % , - . / 0-6 9 : @ and
// the Latin letters, so nothing here may use 7, 8 or any other sign; the logo font holds only
// the characters of the logo text.

// The group that makes the demo; its name is the logo.
inline constexpr std::string_view group_name = "Zaq-Plume";
inline constexpr std::string_view group_signature = "Zaq :3";
inline constexpr std::string_view logo_text = group_name;

inline constexpr std::string_view marquee_text = "Come to Vexal25 :3";

// The headline above the block; the second one shows only in the act's last 0.75 s.
inline constexpr std::string_view first_headline = "Have some scrollers: x3";
inline constexpr std::string_view second_headline = "oh look a 64k tiny demo";

// The party's facts, each written once: the block below sets them into its lines, and the
// release's info file and the web page's facts are made from them.
inline constexpr std::string_view party_name = "VeXal 2025";
inline constexpr std::string_view party_dates = "Apr 10th - Apr 13th 2025";
inline constexpr std::string_view party_venue = "Casa Brunelo";
inline constexpr std::string_view party_town = "Tarn/Vellin";
inline constexpr std::string_view party_country = "Velomarkand";
inline constexpr std::string_view party_entry_fee = "30CHF, paid on-site";
inline constexpr std::string_view party_web_address = "vexal.party/2025";
inline constexpr std::string_view party_chat_room = "#vexal-2025:matrix.org";
inline constexpr std::string_view party_social_account = "@vexal@mastodon.social";

// The addresses' lengths place the columns that follow them on their lines.
static_assert(party_web_address.size() == 16);
static_assert(party_chat_room.size() == 22);
static_assert(party_social_account.size() == 22);

inline constexpr std::string_view invitation_call = "Pls come to";
inline constexpr std::string_view credits_heading = "Credits";
inline constexpr std::array<std::string_view, 4> credited_handles = {"harlop", "quisty", "gorma",
                                                                     "/dev/snorkle"};
inline constexpr std::string_view chat_room_label = "Matrix: ";
inline constexpr std::string_view social_account_label = "Mastodon: ";

// The scrolling block. All lines start at the same pen, so the space runs set the words in
// columns: the invitation runs down the left diagonal, "Credits" and the credited handles down
// the right one, the contact addresses stand alone on the last line.
inline constexpr std::array block_line_0_pieces = {words(invitation_call), gap(1), words(party_name), gap(51),
                                                   words(credits_heading)};
inline constexpr std::array block_line_1_pieces = {
    gap(8), words(party_dates), gap(34), words(group_signature), gap(7), words(credited_handles[0])};
inline constexpr std::array block_line_2_pieces = {
    gap(22), words(party_venue), gap(21), words(party_entry_fee), gap(16), words(credited_handles[1])};
inline constexpr std::array block_line_3_pieces = {
    gap(30), words(party_town), gap(4), words(party_web_address), gap(34), words(credited_handles[2])};
inline constexpr std::array block_line_4_pieces = {gap(37), words(party_country), gap(57),
                                                   words(credited_handles[3])};
inline constexpr std::array block_line_8_pieces = {
    gap(7), words(chat_room_label),      words(party_chat_room),
    gap(4), words(social_account_label), words(party_social_account)};
inline constexpr auto block_line_0 = compose<block_line_0_pieces>();
inline constexpr auto block_line_1 = compose<block_line_1_pieces>();
inline constexpr auto block_line_2 = compose<block_line_2_pieces>();
inline constexpr auto block_line_3 = compose<block_line_3_pieces>();
inline constexpr auto block_line_4 = compose<block_line_4_pieces>();
inline constexpr auto block_line_8 = compose<block_line_8_pieces>();

inline constexpr std::array<std::string_view, 9> block_lines = {
    block_line_0.view(),
    block_line_1.view(),
    block_line_2.view(),
    block_line_3.view(),
    block_line_4.view(),
    "",
    "",
    "",
    block_line_8.view(),
};
static_assert(block_lines[0].size() == 80 && block_lines[1].size() == 85 && block_lines[2].size() == 96 &&
              block_lines[3].size() == 100 && block_lines[4].size() == 117 && block_lines[8].size() == 73);

// The greetings header; its code points from header_logo_first to header_logo_last are the
// group's name, set in the logo font.
inline constexpr std::string_view greetings_opening = "Greetings by ";
inline constexpr std::array greetings_header_pieces = {words(greetings_opening), words(group_name),
                                                       words(" to:")};
inline constexpr auto greetings_header_line = compose<greetings_header_pieces>();
inline constexpr std::string_view greetings_header = greetings_header_line.view();
inline constexpr std::size_t header_logo_first = greetings_opening.size();
inline constexpr std::size_t header_logo_last = header_logo_first + group_name.size() - 1;

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
