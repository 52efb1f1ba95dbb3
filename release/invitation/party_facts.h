#pragma once

#include <string>
#include <string_view>
#include <vector>

// The party's facts as the invitation's companions (the release's info file, the web page)
// state them, each taken from the program's own texts.
struct PartyFact {
  std::string_view label;
  // As the program shows it.
  std::string_view shown;
  // Where a visitor's click goes; empty for a fact that is no address.
  std::string link;
};

// Party, dates, venue, town, country, entry fee, web address, chat room and social account, in
// that order.
std::vector<PartyFact> party_facts();

// The credited handles, in the block's order.
std::vector<std::string_view> credits();

// Every greeted handle, row after row.
std::vector<std::string_view> greetings();

// The group's remarks as they read on the screen, from the top.
std::vector<std::string_view> remarks();
