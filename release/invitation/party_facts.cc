#include "party_facts.h"

#include "scenes/texts.h"

namespace {

// A Matrix room alias (#room:server) opens in any client through matrix.to.
std::string matrix_link(std::string_view room) { return "https://matrix.to/#/" + std::string(room); }

// A Mastodon account @user@server has its page at https://server/@user; anything else is left
// without a link.
std::string mastodon_link(std::string_view account) {
  const std::size_t at = account.find('@', 1);
  if (account.empty() || account.front() != '@' || at == std::string_view::npos) return {};
  return "https://" + std::string(account.substr(at + 1)) + "/" + std::string(account.substr(0, at));
}

}  // namespace

std::vector<PartyFact> party_facts() {
  return {
      {"Party", party_name, {}},
      {"Dates", party_dates, {}},
      {"Venue", party_venue, {}},
      {"Town", party_town, {}},
      {"Country", party_country, {}},
      {"Entry fee", party_entry_fee, {}},
      {"Web", party_web_address, "https://" + std::string(party_web_address)},
      {"Matrix", party_chat_room, matrix_link(party_chat_room)},
      {"Mastodon", party_social_account, mastodon_link(party_social_account)},
  };
}

std::vector<std::string_view> credits() { return {credited_handles.begin(), credited_handles.end()}; }

std::vector<std::string_view> greetings() {
  std::vector<std::string_view> handles;
  for (const auto row : greeting_rows) handles.insert(handles.end(), row.begin(), row.end());
  return handles;
}

std::vector<std::string_view> remarks() { return {remark_sorry, remark_onsite, remark_rest}; }
