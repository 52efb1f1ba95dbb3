#include "check_invitation.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>
#include <optional>
#include <utility>

#include "ascii_form.h"
#include "info_file.h"
#include "scenes/texts.h"

namespace {

struct Expected {
  std::string_view label;
  std::string text;
};

std::string ascii(std::string_view text) { return ascii_form(text).text; }

std::string trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string joined(const std::vector<std::string>& items, std::string_view separator) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) out += (i > 0 ? std::string(separator) : "") + items[i];
  return out;
}

// The lines without their CR LF ends; problems of the ends and bytes go to problems.
std::vector<std::string> info_lines(std::string_view bytes, std::vector<std::string>& problems) {
  std::vector<std::string> lines;
  std::size_t number = 1;
  while (!bytes.empty()) {
    const std::size_t lf = bytes.find('\n');
    std::string_view line = bytes.substr(0, lf);
    const std::string where = "line " + std::to_string(number);
    if (lf == std::string_view::npos) {
      problems.push_back(where + ": the file does not end with CR LF");
    } else if (line.empty() || line.back() != '\r') {
      problems.push_back(where + ": ends with LF alone, not CR LF");
    } else {
      line.remove_suffix(1);
    }
    if (std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) > 0x7F; })) {
      problems.push_back(where + ": holds a byte above 0x7F");
    } else if (std::any_of(line.begin(), line.end(), [](char c) { return c < 0x20 || c == 0x7F; })) {
      problems.push_back(where + ": holds a control character");
    }
    if (line.size() > 80)
      problems.push_back(where + ": " + std::to_string(line.size()) + " columns, more than 80");
    lines.emplace_back(line);
    if (lf == std::string_view::npos) break;
    bytes.remove_prefix(lf + 1);
    ++number;
  }
  return lines;
}

// The value of the one line "Label: value"; a missing or repeated label is a problem.
void check_fact(const std::vector<std::string>& lines, const Expected& fact,
                std::vector<std::string>& problems) {
  const std::string prefix = std::string(fact.label) + ":";
  std::vector<std::string> values;
  for (const std::string& line : lines) {
    const std::string text = trimmed(line);
    if (text.starts_with(prefix)) values.push_back(trimmed(std::string_view(text).substr(prefix.size())));
  }
  if (values.size() != 1) {
    problems.push_back("fact '" + std::string(fact.label) + "': " + std::to_string(values.size()) +
                       " lines, expected one");
  } else if (values[0] != fact.text) {
    problems.push_back("fact '" + std::string(fact.label) + "': '" + values[0] + "', the program says '" +
                       fact.text + "'");
  }
}

// The non-empty lines after a heading and its underline, up to the next empty line.
std::vector<std::string> section(const std::vector<std::string>& lines, std::string_view heading) {
  std::vector<std::string> body;
  const auto at =
      std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return trimmed(l) == heading; });
  if (at == lines.end()) return body;
  auto line = at + 1;
  if (line != lines.end() && !trimmed(*line).empty() &&
      trimmed(*line).find_first_not_of("-=") == std::string::npos) {
    ++line;
  }
  for (; line != lines.end() && !trimmed(*line).empty(); ++line) body.push_back(trimmed(*line));
  return body;
}

void check_section(const std::vector<std::string>& lines, std::string_view heading,
                   const std::string& expected, std::string_view separator,
                   std::vector<std::string>& problems) {
  const std::string found = joined(section(lines, heading), separator);
  if (found != expected) {
    problems.push_back("section " + std::string(heading) + ": '" + found + "', the program says '" +
                       expected + "'");
  }
}

std::vector<std::string> ascii_all(auto&& texts) {
  std::vector<std::string> out;
  out.reserve(std::size(texts));
  for (const std::string_view text : texts) out.push_back(ascii(text));
  return out;
}

// Every text between tags, entities resolved.
std::string html_text(std::string_view html) {
  std::string out;
  bool in_tag = false;
  for (std::size_t i = 0; i < html.size(); ++i) {
    const char c = html[i];
    if (in_tag) {
      in_tag = c != '>';
    } else if (c == '<') {
      in_tag = true;
    } else if (c == '&') {
      static constexpr std::array<std::pair<std::string_view, char>, 6> entities{
          {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}, {"&apos;", '\''}}};
      const auto* entity = std::find_if(entities.begin(), entities.end(),
                                        [&](const auto& e) { return html.substr(i).starts_with(e.first); });
      if (entity == entities.end()) return "(unknown character reference in '" + std::string(html) + "')";
      out += entity->second;
      i += entity->first.size() - 1;
    } else {
      out += c;
    }
  }
  return out;
}

// The element's inner HTML, from after "<tag ...>" to before "</tag>", starting the search at
// from; from moves past the element. Empty when there is none.
std::optional<std::string_view> next_element(std::string_view html, std::string_view tag, std::size_t& from) {
  std::string open = "<";
  open += tag;
  std::string close = "</";
  close += tag;
  close += '>';
  const std::size_t start = html.find(open, from);
  if (start == std::string_view::npos) return std::nullopt;
  const std::size_t inner = html.find('>', start);
  const std::size_t end = inner == std::string_view::npos ? inner : html.find(close, inner);
  if (end == std::string_view::npos) return std::nullopt;
  from = end + close.size();
  return html.substr(inner + 1, end - inner - 1);
}

// Every "N seconds" of the text must state the run's length, and one must.
void check_seconds(std::string_view text, std::vector<std::string>& problems) {
  const std::string expected = run_seconds_text();
  constexpr std::string_view unit = " seconds";
  std::size_t stated = 0;
  for (std::size_t at = text.find(unit); at != std::string_view::npos; at = text.find(unit, at + 1)) {
    std::size_t first = at;
    while (first > 0 && ((text[first - 1] >= '0' && text[first - 1] <= '9') || text[first - 1] == '.'))
      --first;
    const std::string number(text.substr(first, at - first));
    if (number.empty()) continue;
    ++stated;
    if (number != expected) {
      std::string problem = "'";
      problem.append(number).append(unit).append("', the program runs ").append(expected).append(unit);
      problems.push_back(problem);
    }
  }
  if (stated == 0) problems.push_back("the run's length (" + expected + " seconds) is never stated");
}

// The words of the lines, joined by single spaces.
std::string running_text(const std::vector<std::string>& lines) {
  std::vector<std::string> words;
  for (const std::string& line : lines) {
    if (!trimmed(line).empty()) words.push_back(trimmed(line));
  }
  return joined(words, " ");
}

}  // namespace

std::vector<std::string> info_file_problems(std::string_view bytes) {
  std::vector<std::string> problems;
  const std::vector<std::string> lines = info_lines(bytes, problems);

  const std::string running = running_text(lines);
  const std::string what =
      "an invitation to the " + ascii(party_name) + " demo party by " + ascii(group_name);
  if (running.find(what) == std::string::npos) problems.push_back("the file never says '" + what + "'");
  check_seconds(running, problems);
  for (const std::string_view start_file :
       {"windows/vexal25-herald.exe", "linux/vexal25-herald", "web/vexal25-herald.html"}) {
    if (running.find(start_file) == std::string::npos) {
      problems.push_back("the file never names " + std::string(start_file));
    }
  }

  const std::array<Expected, 9> facts{{
      {"Party", ascii(party_name)},
      {"Dates", ascii(party_dates)},
      {"Venue", ascii(party_venue)},
      {"Town", ascii(party_town)},
      {"Country", ascii(party_country)},
      {"Entry fee", ascii(party_entry_fee)},
      {"Web", "https://" + ascii(party_web_address)},
      {"Matrix", ascii(party_chat_room)},
      {"Mastodon", ascii(party_social_account)},
  }};
  for (const Expected& fact : facts) check_fact(lines, fact, problems);

  check_section(lines, "CREDITS", joined(ascii_all(credited_handles), ", "), " ", problems);
  std::vector<std::string> greeted;
  for (const auto row : greeting_rows) {
    for (const std::string& handle : ascii_all(row)) greeted.push_back(handle);
  }
  check_section(lines, "GREETINGS", joined(greeted, ", "), " ", problems);
  // On screen, top to bottom.
  const std::array<std::string_view, 3> remarks_on_screen = {remark_sorry, remark_onsite, remark_rest};
  check_section(lines, "FROM THE GROUP", joined(ascii_all(remarks_on_screen), "\n"), "\n", problems);
  return problems;
}

std::vector<std::string> facts_html_problems(std::string_view html) {
  std::vector<std::string> problems;
  const std::string_view open = "<dl id=\"facts\">";
  const std::size_t start = html.find(open);
  if (start == std::string_view::npos || html.find(open, start + 1) != std::string_view::npos) {
    return {"expected exactly one <dl id=\"facts\">"};
  }
  const std::size_t end = html.find("</dl>", start);
  if (end == std::string_view::npos) return {"<dl id=\"facts\"> is never closed"};
  const std::string_view list = html.substr(start + open.size(), end - start - open.size());

  const std::array<Expected, 9> facts{{
      {"Party", std::string(party_name)},
      {"Dates", std::string(party_dates)},
      {"Venue", std::string(party_venue)},
      {"Town", std::string(party_town)},
      {"Country", std::string(party_country)},
      {"Entry fee", std::string(party_entry_fee)},
      {"Web", std::string(party_web_address)},
      {"Matrix", std::string(party_chat_room)},
      {"Mastodon", std::string(party_social_account)},
  }};
  std::size_t from = 0;
  for (const Expected& fact : facts) {
    const std::optional<std::string_view> label = next_element(list, "dt", from);
    const std::optional<std::string_view> value = next_element(list, "dd", from);
    if (!label || !value) {
      problems.push_back("fact '" + std::string(fact.label) + "' missing");
      break;
    }
    if (html_text(*label) != fact.label) {
      problems.push_back("label '" + html_text(*label) + "' where '" + std::string(fact.label) + "' belongs");
    }
    if (html_text(*value) != fact.text) {
      problems.push_back("fact '" + std::string(fact.label) + "': '" + html_text(*value) +
                         "', the program says '" + fact.text + "'");
    }
    if (fact.label == "Web") {
      const std::size_t href = value->find("href=\"");
      const std::size_t quote = href == std::string_view::npos ? href : value->find('"', href + 6);
      const std::string target = quote == std::string_view::npos
                                     ? std::string()
                                     : html_text(value->substr(href + 6, quote - href - 6));
      if (target != "https://" + fact.text) {
        problems.push_back("the web address links to '" + target + "', not to https://" + fact.text);
      }
    }
  }
  std::size_t rest = from;
  if (next_element(list, "dt", rest)) problems.emplace_back("more facts than the program has");
  return problems;
}

std::vector<std::string> read_me_problems(std::string_view bytes) {
  std::vector<std::string> problems;
  // The Windows read-me has CR LF ends and the Linux one LF: each is read as its lines.
  std::string crlf;
  for (const char c : bytes) {
    if (c == '\r') continue;
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  const std::vector<std::string> lines = info_lines(crlf, problems);
  const std::string running = running_text(lines);
  const std::string what = "an invitation to the " + ascii(party_name) + " demo party";
  if (lines.empty() || lines.front().find(what) == std::string::npos) {
    problems.push_back("the first line never says '" + what + "'");
  }
  check_seconds(running, problems);
  return problems;
}

std::vector<std::string> party_page_problems(std::string_view html) {
  std::vector<std::string> problems = facts_html_problems(html);
  const std::string text = html_text(html);
  const std::string what = "An invitation to the " + std::string(party_name) + " demo party";
  if (text.find(what) == std::string::npos) problems.push_back("the page never says '" + what + "'");
  check_seconds(text, problems);
  return problems;
}
