#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "scenes/composed_text.h"

// Every text the scenes show. The main font holds only the space, # % , - . / 0-6 9 : @ and
// the Latin letters, and the logo font only the characters of the logo text: a character of a
// text here that its font lacks stops the build (texts_in_fonts.cc) and names the text.

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

inline constexpr std::string_view invitation_call = "Pls come to";
inline constexpr std::string_view credits_heading = "Credits";
inline constexpr std::array<std::string_view, 4> credited_handles = {"harlop", "quisty", "gorma",
                                                                     "/dev/snorkle"};
inline constexpr std::string_view chat_room_label = "Matrix: ";
inline constexpr std::string_view social_account_label = "Mastodon: ";

// The scrolling block. All lines start at the same pen, so each text's column places it: the
// invitation runs down the left diagonal, "Credits" and the credited handles down the right one,
// the contact addresses stand alone on the last line. A text too long for its column stops the
// build, naming it.
inline constexpr std::array block_line_0_pieces = {at(0, invitation_call), at(12, party_name),
                                                   at(73, credits_heading)};
inline constexpr std::array block_line_1_pieces = {at(8, party_dates), at(66, group_signature),
                                                   at(79, credited_handles[0])};
inline constexpr std::array block_line_2_pieces = {at(22, party_venue), at(55, party_entry_fee),
                                                   at(90, credited_handles[1])};
inline constexpr std::array block_line_3_pieces = {at(30, party_town), at(45, party_web_address),
                                                   at(95, credited_handles[2])};
inline constexpr std::array block_line_4_pieces = {at(37, party_country), at(105, credited_handles[3])};
inline constexpr std::array block_line_8_pieces = {at(7, chat_room_label), words(party_chat_room),
                                                   at(41, social_account_label), words(party_social_account)};
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

// The greetings header; its code points from header_logo_first to header_logo_last are the
// group's name, set in the logo font.
inline constexpr std::string_view greetings_opening = "Greetings by ";
inline constexpr std::string_view greetings_closing = " to:";
inline constexpr std::array greetings_header_pieces = {words(greetings_opening), words(group_name),
                                                       words(greetings_closing)};
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
