#pragma once

#include <string>
#include <string_view>

// The party's facts for a web page, as one HTML fragment:
//
//   <dl id="facts">
//   <dt>Party</dt><dd>VeXal 2025</dd>
//   ...
//   <dt>Web</dt><dd><a href="https://..." target="_blank" rel="noopener">vexal.party/2025</a></dd>
//   ...
//   </dl>
//
// one <dt>/<dd> pair per line, every text and address HTML-escaped. Addresses open in a new
// browsing context, since the page is often shown inside a frame of a party's site.
std::string facts_fragment();

// The text with & < > " and ' replaced by their character references, safe both between tags
// and inside a quoted attribute.
std::string html_escape(std::string_view text);

// The web page from its template: the inline placeholders of the info file (@PARTY@, @GROUP@,
// @SECONDS@) filled in HTML-escaped, and the one "<!-- party facts -->" mark replaced by
// facts_fragment(). The error names a mark that is missing or repeated, or an unknown
// placeholder.
struct PartyPage {
  std::string html;
  std::string error;  // empty on success
};
PartyPage party_page(std::string_view page_template);
