#include "ascii_form.h"

#include <algorithm>
#include <array>

#include "text/utf8.h"

namespace {

struct NearestAscii {
  std::uint32_t code_point;
  std::string_view ascii;
};

// Letters lose their marks; ligatures and sharp s are spelt out; typographic quotes, dashes and
// spaces become their typewriter forms. Sorted by code point.
constexpr std::array<NearestAscii, 62> nearest_ascii{{
    {0x00A0, " "},    {0x00A9, "(c)"}, {0x00AB, "<<"}, {0x00B7, "."},  {0x00BB, ">>"},  {0x00C0, "A"},
    {0x00C1, "A"},    {0x00C2, "A"},   {0x00C4, "A"},  {0x00C5, "A"},  {0x00C6, "AE"},  {0x00C7, "C"},
    {0x00C8, "E"},    {0x00C9, "E"},   {0x00CA, "E"},  {0x00CB, "E"},  {0x00CD, "I"},   {0x00CE, "I"},
    {0x00D1, "N"},    {0x00D3, "O"},   {0x00D4, "O"},  {0x00D6, "O"},  {0x00D7, "x"},   {0x00D8, "O"},
    {0x00DA, "U"},    {0x00DC, "U"},   {0x00DF, "ss"}, {0x00E0, "a"},  {0x00E1, "a"},   {0x00E2, "a"},
    {0x00E3, "a"},    {0x00E4, "a"},   {0x00E5, "a"},  {0x00E6, "ae"}, {0x00E7, "c"},   {0x00E8, "e"},
    {0x00E9, "e"},    {0x00EA, "e"},   {0x00EB, "e"},  {0x00ED, "i"},  {0x00EE, "i"},   {0x00EF, "i"},
    {0x00F1, "n"},    {0x00F3, "o"},   {0x00F4, "o"},  {0x00F6, "o"},  {0x00F8, "o"},   {0x00FA, "u"},
    {0x00FC, "u"},    {0x00FD, "y"},   {0x0153, "oe"}, {0x2013, "-"},  {0x2014, "-"},   {0x2018, "'"},
    {0x2019, "'"},    {0x201C, "\""},  {0x201D, "\""}, {0x2022, "*"},  {0x2026, "..."}, {0x20AC, "EUR"},
    {0x2122, "(tm)"}, {0x2192, "->"},
}};

static_assert(std::is_sorted(nearest_ascii.begin(), nearest_ascii.end(),
                             [](const NearestAscii& a, const NearestAscii& b) {
                               return a.code_point < b.code_point;
                             }));

}  // namespace

AsciiForm ascii_form(std::string_view utf8) {
  AsciiForm form;
  TextCursor cursor{utf8.data(), utf8.data() + utf8.size()};
  for (std::uint32_t c = next_code_point(cursor); c != end_of_text; c = next_code_point(cursor)) {
    if (c < 0x80) {
      form.text += static_cast<char>(c);
      continue;
    }
    const auto* found = std::lower_bound(
        nearest_ascii.begin(), nearest_ascii.end(), c,
        [](const NearestAscii& entry, std::uint32_t value) { return entry.code_point < value; });
    if (found == nearest_ascii.end() || found->code_point != c) {
      form.refused = c;
      return form;
    }
    form.text += found->ascii;
  }
  return form;
}
