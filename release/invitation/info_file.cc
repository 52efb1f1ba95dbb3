#include "info_file.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <vector>

#include "app/frame_clock.h"
#include "ascii_form.h"
#include "party_facts.h"
#include "scenes/texts.h"

namespace {

// The facts' values start in this column after the indentation, past the longest label.
constexpr std::size_t fact_value_column = 12;

std::vector<std::string_view> split_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// Items separated by ", ", as many on a line as fit in the columns; a line break falls only
// between items, so an item with a space inside stays whole.
void add_wrapped(std::vector<std::string>& out, const std::string& indent,
                 const std::vector<std::string_view>& items) {
  std::string line = indent;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const bool last = i + 1 == items.size();
    const std::string item = std::string(items[i]) + (last ? "" : ",");
    if (line.size() > indent.size() && line.size() + 1 + item.size() > info_columns) {
      out.push_back(line);
      line = indent;
    }
    if (line.size() > indent.size()) line += ' ';
    line += item;
  }
  if (line.size() > indent.size()) out.push_back(line);
}

void add_facts(std::vector<std::string>& out, const std::string& indent) {
  for (const PartyFact& fact : party_facts()) {
    std::string line = indent + std::string(fact.label) + ":";
    line.resize(std::max(line.size() + 1, indent.size() + fact_value_column), ' ');
    // The web address as a visitor types it; the chat addresses are their own form.
    line += fact.label == "Web" ? fact.link : std::string(fact.shown);
    out.push_back(line);
  }
}

// Expands one block placeholder; false when the word names none.
bool add_block(std::vector<std::string>& out, std::string_view word, const std::string& indent) {
  if (word == "FACTS") {
    add_facts(out, indent);
  } else if (word == "CREDITS") {
    add_wrapped(out, indent, credits());
  } else if (word == "GREETINGS") {
    add_wrapped(out, indent, greetings());
  } else if (word == "REMARKS") {
    for (const std::string_view remark : remarks()) out.push_back(indent + std::string(remark));
  } else {
    return false;
  }
  return true;
}

std::optional<std::string> inline_value(std::string_view word) {
  if (word == "PARTY") return std::string(party_name);
  if (word == "GROUP") return std::string(group_name);
  if (word == "SECONDS") return run_seconds_text();
  return std::nullopt;
}

bool is_underline(std::string_view line) {
  return !line.empty() && line.find_first_not_of('=') == std::string_view::npos;
}

bool is_word(std::string_view word) {
  return !word.empty() &&
         std::all_of(word.begin(), word.end(), [](char c) { return (c >= 'A' && c <= 'Z') || c == '_'; });
}

std::string as_is(std::string_view text) { return std::string(text); }

}  // namespace

std::string with_inline_values(std::string_view line, Escape escape, std::string& error) {
  std::string out;
  while (!line.empty()) {
    const std::size_t open = line.find('@');
    const std::size_t close = open == std::string_view::npos ? open : line.find('@', open + 1);
    if (close == std::string_view::npos) break;
    const std::string_view word = line.substr(open + 1, close - open - 1);
    if (!is_word(word)) {
      out += line.substr(0, open + 1);
      line.remove_prefix(open + 1);
      continue;
    }
    const std::optional<std::string> value = inline_value(word);
    if (!value) {
      error = "unknown placeholder @" + std::string(word) + "@ in the template";
      return {};
    }
    out += line.substr(0, open);
    out += escape(*value);
    line.remove_prefix(close + 1);
  }
  out += line;
  return out;
}

namespace {

InfoFile filled(std::string_view template_text, std::string_view line_end) {
  std::vector<std::string> lines;
  InfoFile result;
  for (const std::string_view line : split_lines(template_text)) {
    if (is_underline(line) && !lines.empty()) {
      lines.push_back(std::string(ascii_form(lines.back()).text.size(), '='));
      continue;
    }
    const std::size_t first = line.find_first_not_of(' ');
    const std::string indent(line.substr(0, std::min(first, line.size())));
    const std::string_view rest = first == std::string_view::npos ? std::string_view{} : line.substr(first);
    if (rest.size() > 2 && rest.front() == '@' && rest.back() == '@' &&
        add_block(lines, rest.substr(1, rest.size() - 2), indent)) {
      continue;
    }
    lines.push_back(with_inline_values(line, as_is, result.error));
    if (!result.error.empty()) return result;
  }

  for (std::size_t n = 0; n < lines.size(); ++n) {
    const AsciiForm ascii = ascii_form(lines[n]);
    if (ascii.refused != 0) {
      std::array<char, 80> message{};
      (void)std::snprintf(message.data(), message.size(), "line %zu: no ASCII form for U+%04X", n + 1,
                          static_cast<unsigned>(ascii.refused));
      result.error = message.data();
      return result;
    }
    std::string line = ascii.text;
    while (!line.empty() && line.back() == ' ') line.pop_back();
    if (line.size() > info_columns) {
      result.error = "line " + std::to_string(n + 1) + " has " + std::to_string(line.size()) +
                     " columns, more than " + std::to_string(info_columns) + ": " + line;
      return result;
    }
    if (std::any_of(line.begin(), line.end(), [](char c) { return c < 0x20 || c == 0x7F; })) {
      result.error = "line " + std::to_string(n + 1) + " holds a control character";
      return result;
    }
    result.text += line;
    result.text += line_end;
  }
  return result;
}

}  // namespace

InfoFile info_file(std::string_view template_text) { return filled(template_text, "\r\n"); }

InfoFile read_me(std::string_view template_text) { return filled(template_text, "\n"); }

std::string run_seconds_text() {
  std::array<char, 32> text{};
  const int length = std::snprintf(text.data(), text.size(), "%g", run_limit_seconds);
  return std::string(text.data(), static_cast<std::size_t>(std::max(length, 0)));
}
