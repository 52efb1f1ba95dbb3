// Every text the scenes draw is held by the font it is drawn in, checked when the program is
// built: a new fact with a character the font lacks stops the build here, naming it.
#include "scenes/texts.h"
#include "text/font_check.h"

static_assert(held_by_font<logo_text, Font::logo>());
static_assert(held_by_font<marquee_text, Font::main>());
static_assert(held_by_font<first_headline, Font::main>());
static_assert(held_by_font<second_headline, Font::main>());

// The block: the party's facts, the credits and the contact line.
static_assert(held_by_font<invitation_call, Font::main>());
static_assert(held_by_font<party_name, Font::main>());
static_assert(held_by_font<party_dates, Font::main>());
static_assert(held_by_font<party_venue, Font::main>());
static_assert(held_by_font<party_town, Font::main>());
static_assert(held_by_font<party_country, Font::main>());
static_assert(held_by_font<party_entry_fee, Font::main>());
static_assert(held_by_font<party_web_address, Font::main>());
static_assert(held_by_font<party_chat_room, Font::main>());
static_assert(held_by_font<party_social_account, Font::main>());
static_assert(held_by_font<group_signature, Font::main>());
static_assert(held_by_font<credits_heading, Font::main>());
static_assert(all_held_by_font<credited_handles, Font::main>());
static_assert(held_by_font<chat_room_label, Font::main>());
static_assert(held_by_font<social_account_label, Font::main>());

// The greetings: the header sets the group's name in the logo font between two main-font words.
static_assert(held_by_font<greetings_opening, Font::main>());
static_assert(held_by_font<group_name, Font::logo>());
static_assert(held_by_font<greetings_closing, Font::main>());
static_assert(held_by_font<handle_separator, Font::main>());
static_assert(all_held_by_font<greeting_row_0, Font::main>());
static_assert(all_held_by_font<greeting_row_1, Font::main>());
static_assert(all_held_by_font<greeting_row_2, Font::main>());
static_assert(all_held_by_font<greeting_row_3, Font::main>());
static_assert(held_by_font<remark_onsite, Font::main>());
static_assert(held_by_font<remark_rest, Font::main>());
static_assert(held_by_font<remark_sorry, Font::main>());
