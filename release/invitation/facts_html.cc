#include "facts_html.h"

#include "info_file.h"
#include "party_facts.h"

std::string html_escape(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string facts_fragment() {
  std::string html = "<dl id=\"facts\">\n";
  for (const PartyFact& fact : party_facts()) {
    html += "<dt>" + html_escape(fact.label) + "</dt><dd>";
    if (fact.link.empty()) {
      html += html_escape(fact.shown);
    } else {
      html += "<a href=\"" + html_escape(fact.link) + R"(" target="_blank" rel="noopener">)" +
              html_escape(fact.shown) + "</a>";
    }
    html += "</dd>\n";
  }
  html += "</dl>\n";
  return html;
}

PartyPage party_page(std::string_view page_template) {
  constexpr std::string_view mark = "<!-- party facts -->";
  PartyPage page;
  const std::size_t at = page_template.find(mark);
  if (at == std::string_view::npos || page_template.find(mark, at + 1) != std::string_view::npos) {
    page.error = "the page must hold " + std::string(mark) + " exactly once";
    return page;
  }
  const std::string before = with_inline_values(page_template.substr(0, at), html_escape, page.error);
  const std::string after =
      with_inline_values(page_template.substr(at + mark.size()), html_escape, page.error);
  if (!page.error.empty()) return page;
  // The fragment ends with its own line end; the mark's line keeps the one after it.
  std::string facts = facts_fragment();
  while (!facts.empty() && facts.back() == '\n') facts.pop_back();
  page.html = before + facts + after;
  return page;
}
