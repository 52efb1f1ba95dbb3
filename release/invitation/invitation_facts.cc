// invitation_facts nfo|text|page TEMPLATE OUT | invitation_facts html OUT
//   nfo:  the release's info file, TEMPLATE's prose with the program's texts put in (info_file.h)
//   text: a visitor's read-me by the same rules, with LF line ends (info_file.h)
//   page: the web page, TEMPLATE with the party's name, the run's length and facts put in
//         (facts_html.h)
//   html: the party's facts alone, as an HTML fragment (facts_html.h)
// OUT is written under a temporary name beside it and renamed when complete. A failure prints
// one line and ends with status 1; wrong arguments end with status 2.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

#include "facts_html.h"
#include "info_file.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: invitation_facts nfo|text|page TEMPLATE OUT | invitation_facts html OUT\n");
  return 2;
}

int fail(const std::string& why) {
  std::fprintf(stderr, "invitation_facts: %s\n", why.c_str());
  return 1;
}

bool write_whole(const std::filesystem::path& path, const std::string& bytes) {
  const std::filesystem::path part = path.string() + ".part";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      (void)std::filesystem::remove(part, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(part, path, error);
  return !error;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string_view kind = argv[1];
  std::string text;
  std::filesystem::path out;
  if ((kind == "nfo" || kind == "text" || kind == "page") && argc == 4) {
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) return fail(std::string("cannot read the template ") + argv[2]);
    const std::string template_text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string error;
    if (kind == "page") {
      const PartyPage page = party_page(template_text);
      text = page.html;
      error = page.error;
    } else {
      const InfoFile info = kind == "nfo" ? info_file(template_text) : read_me(template_text);
      text = info.text;
      error = info.error;
    }
    if (!error.empty()) return fail(std::string(argv[2]) + ": " + error);
    out = argv[3];
  } else if (kind == "html" && argc == 3) {
    text = facts_fragment();
    out = argv[2];
  } else {
    return usage();
  }
  if (!write_whole(out, text)) return fail("cannot write " + out.string());
  return 0;
}
