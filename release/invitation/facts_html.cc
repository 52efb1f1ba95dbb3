#include "facts_html.h"

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
