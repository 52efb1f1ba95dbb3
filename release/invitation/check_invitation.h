#pragma once

#include <string>
#include <string_view>
#include <vector>

// Whether what the invitation's companions say agrees with the program: each function reads a
// file's bytes and lists what is wrong with them, one line each (nothing when all is well).
// The expected values are the program's constant texts themselves, paired with their labels
// here, so a fact that the generator mislabels, drops or alters is caught.

// The info file: plain ASCII, CR LF line ends, at most 80 columns; the production and the
// party named; the run's length; every fact, credit, greeting and remark as the program's texts
// give them; each platform's start file named.
std::vector<std::string> info_file_problems(std::string_view bytes);

// The facts list <dl id="facts"> in an HTML fragment or a whole page: the facts in order, their
// texts and the web address's link.
std::vector<std::string> facts_html_problems(std::string_view html);

// A visitor's read-me (LF or CR LF ends): plain ASCII, at most 80 columns; its first line names
// the party, and every number of seconds it states is the run's length.
std::vector<std::string> read_me_problems(std::string_view bytes);

// The whole web page: its facts list as above, the party named in its introduction and every
// number of seconds it states the run's length.
std::vector<std::string> party_page_problems(std::string_view html);
