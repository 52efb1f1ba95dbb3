#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "ascii_form.h"
#include "check_invitation.h"
#include "facts_html.h"
#include "info_file.h"
#include "scenes/texts.h"

// The generators and their checks are tested with the program's own texts and faults planted in
// them, so a new party's facts need no change here; tests/scenes/texts_test.cc pins this party's.

namespace {

std::string release_template() {
  std::ifstream in(HERALD_INFO_TEMPLATE, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The fact with its last character changed: a planted disagreement.
std::string altered(std::string_view fact) {
  std::string text(fact);
  text.back() = text.back() == 'x' ? 'y' : 'x';
  return text;
}

std::string str(std::string_view text) { return std::string(text); }

std::string replaced(std::string text, std::string_view from, std::string_view to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// Whether one of the problems mentions the word.
bool mentions(const std::vector<std::string>& problems, std::string_view word) {
  return std::ranges::any_of(
      problems, [&](const std::string& problem) { return problem.find(word) != std::string::npos; });
}

}  // namespace

TEST(InfoFile, FromTheReleaseTemplateAgreesWithTheProgramAndItsCheckCatchesEachDisagreement) {
  const InfoFile info = info_file(release_template());
  ASSERT_EQ(info.error, "");
  EXPECT_EQ(info_file_problems(info.text), std::vector<std::string>{});

  const std::string& good = info.text;
  EXPECT_TRUE(mentions(info_file_problems(replaced(good, party_venue, altered(party_venue))), "Venue"));
  EXPECT_TRUE(mentions(info_file_problems(replaced(good, party_dates, altered(party_dates))), "Dates"));
  // The town and the country swapped: each is wrong where it stands.
  const std::string swapped =
      replaced(replaced(replaced(good, party_town, "@@"), party_country, party_town), "@@", party_country);
  EXPECT_TRUE(mentions(info_file_problems(swapped), "Town"));
  EXPECT_TRUE(mentions(info_file_problems(swapped), "Country"));
  EXPECT_TRUE(mentions(info_file_problems(replaced(good, "https://" + str(party_web_address),
                                                   "http://" + str(party_web_address))),
                       "Web"));
  EXPECT_TRUE(mentions(info_file_problems(replaced(good, "    Entry fee:", "    Fee:")), "Entry fee"));
  EXPECT_TRUE(
      mentions(info_file_problems(replaced(good, " " + str(greeting_row_0[0]) + ",", "")), "GREETINGS"));
  EXPECT_TRUE(
      mentions(info_file_problems(replaced(good, credited_handles[2], str(credited_handles[2]) + ", zaq")),
               "CREDITS"));
  EXPECT_TRUE(
      mentions(info_file_problems(replaced(good, remark_rest, altered(remark_rest))), "FROM THE GROUP"));
  EXPECT_TRUE(
      mentions(info_file_problems(replaced(good, "by " + str(group_name), "by " + altered(group_name))),
               "invitation"));
  EXPECT_TRUE(mentions(info_file_problems(replaced(good, run_seconds_text() + " seconds", "1 seconds")),
                       "1 seconds"));
  EXPECT_TRUE(mentions(info_file_problems(replaced(good, "web/vexal25-herald.html", "index.html")), "web/"));

  // What scene viewers need of the bytes.
  EXPECT_TRUE(mentions(info_file_problems(replaced(good, "\r\n", "\n")), "LF alone"));
  EXPECT_TRUE(mentions(info_file_problems(good + "no line end"), "does not end with CR LF"));
  EXPECT_TRUE(
      mentions(info_file_problems(replaced(good, party_venue, str(party_venue) + "\xC3\xA9")), "0x7F"));
  EXPECT_TRUE(
      mentions(info_file_problems(replaced(good, "\r\n", std::string(81, '-') + "\r\n")), "81 columns"));
  EXPECT_TRUE(mentions(info_file_problems(replaced(good, party_venue, "\t" + str(party_venue))), "control"));
}

TEST(InfoFile, TemplateFaultsAreRefusedWithTheirLine) {
  EXPECT_EQ(info_file("a\n@PARTY@ by @GROUP@, @SECONDS@ s\r\n").text,
            "a\r\n" + ascii_form(party_name).text + " by " + ascii_form(group_name).text + ", " +
                run_seconds_text() + " s\r\n");
  // Mail addresses and lone signs are prose, not placeholders.
  EXPECT_EQ(info_file("mail@example.org @ x@y\n").text, "mail@example.org @ x@y\r\n");
  // Typographic characters take their nearest ASCII form; trailing spaces go.
  EXPECT_EQ(info_file("Caf\xC3\xA9 \xE2\x80\x93 \xE2\x80\x9Cna\xC3\xAFve\xE2\x80\x9D\xE2\x80\xA6  \n").text,
            "Cafe - \"naive\"...\r\n");

  EXPECT_EQ(info_file("@PARTY\n@FACT@\n").error, "unknown placeholder @FACT@ in the template");
  EXPECT_EQ(info_file("ok\nstar \xE2\x98\x85\n").error, "line 2: no ASCII form for U+2605");
  EXPECT_NE(info_file(std::string(81, 'x')).error.find("81 columns"), std::string::npos);
  // A block indented so far that its lines overflow is refused, not cut.
  EXPECT_NE(info_file(std::string(70, ' ') + "@FACTS@\n").error.find("columns"), std::string::npos);
}

TEST(AsciiForm, ConvertsKnownCharactersAndRefusesTheFirstUnknownOne) {
  const AsciiForm known = ascii_form("\xC3\x84rger \xC3\x9F \xE2\x82\xAC \xC3\x97 \xE2\x80\x94");
  EXPECT_EQ(known.text, "Arger ss EUR x -");
  EXPECT_EQ(known.refused, 0u);
  EXPECT_EQ(ascii_form("a\xE4\xB8\xAD\xC3\xA9").refused, 0x4E2Du);
  EXPECT_EQ(ascii_form("plain ASCII ~").text, "plain ASCII ~");
}

TEST(FactsHtml, FragmentAgreesWithTheProgramInsideAPageAndItsCheckCatchesDisagreements) {
  const std::string fragment = facts_fragment();
  EXPECT_EQ(facts_html_problems(fragment), std::vector<std::string>{});
  const std::string page = "<!doctype html><main><p>Start</p>\n" + fragment + "<dl><dt>x</dt></dl></main>";
  EXPECT_EQ(facts_html_problems(page), std::vector<std::string>{});

  const std::string web = html_escape(party_web_address);
  EXPECT_TRUE(mentions(
      facts_html_problems(replaced(fragment, "href=\"https://" + web, "href=\"http://" + web)), "links to"));
  EXPECT_TRUE(mentions(facts_html_problems(replaced(fragment, ">" + html_escape(party_country) + "<",
                                                    ">" + html_escape(altered(party_country)) + "<")),
                       "Country"));
  EXPECT_TRUE(mentions(facts_html_problems(replaced(fragment, "<dt>Town</dt>", "<dt>City</dt>")), "City"));
  EXPECT_TRUE(mentions(facts_html_problems(replaced(fragment, "</dl>", "<dt>Bar</dt><dd>yes</dd></dl>")),
                       "more facts"));
  EXPECT_TRUE(mentions(facts_html_problems(fragment + fragment), "exactly one"));
  // A character reference stands for its character.
  const std::string fee = html_escape(party_entry_fee);
  EXPECT_EQ(facts_html_problems(
                replaced(fragment, ">" + fee,
                         ">&#" + std::to_string(static_cast<unsigned char>(fee[0])) + ";" + fee.substr(1)))
                .size(),
            1u);

  EXPECT_EQ(html_escape("<a href=\"x\">Tom & Jerry's</a>"),
            "&lt;a href=&quot;x&quot;&gt;Tom &amp; Jerry&#39;s&lt;/a&gt;");
}

TEST(VisitorTexts, PageAndReadMesFromTheirTemplatesStateTheFactsAndTheChecksCatchAWrongOne) {
  const auto read = [](const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  };
  const std::string seconds = run_seconds_text() + " seconds";
  const PartyPage page = party_page(read(HERALD_PAGE_TEMPLATE));
  ASSERT_EQ(page.error, "");
  EXPECT_EQ(party_page_problems(page.html), std::vector<std::string>{});
  EXPECT_TRUE(mentions(party_page_problems(replaced(page.html, seconds, "113 seconds")), "113 seconds"));
  EXPECT_TRUE(mentions(party_page_problems(replaced(page.html, "demo party:", "party:")), "never says"));
  EXPECT_EQ(party_page("<p>@PARTY@</p>").error, "the page must hold <!-- party facts --> exactly once");
  EXPECT_EQ(party_page("<!-- party facts --><!-- party facts -->").error,
            "the page must hold <!-- party facts --> exactly once");
  EXPECT_EQ(party_page("<p>@WHO@</p><!-- party facts -->").error,
            "unknown placeholder @WHO@ in the template");

  for (const char* path : {HERALD_WINDOWS_README_TEMPLATE, HERALD_LINUX_README_TEMPLATE}) {
    SCOPED_TRACE(path);
    const InfoFile readme = read_me(read(path));
    ASSERT_EQ(readme.error, "");
    EXPECT_EQ(read_me_problems(readme.text), std::vector<std::string>{});
    EXPECT_EQ(readme.text.find('\r'), std::string::npos);
    // The title's underline is as long as the title with the party's name in it.
    const std::size_t title_end = readme.text.find('\n');
    EXPECT_EQ(readme.text.substr(title_end + 1, title_end + 1), std::string(title_end, '=') + "\n");
    EXPECT_TRUE(mentions(read_me_problems(replaced(readme.text, seconds, "100 seconds")), "100 seconds"));
    EXPECT_TRUE(mentions(read_me_problems(replaced(readme.text, "demo party", "party")), "first line"));
  }
}
