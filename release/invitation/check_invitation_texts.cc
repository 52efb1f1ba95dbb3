// check_invitation_texts nfo|readme|page|html FILE
// Says whether an info file, a visitor's read-me, the web page, or the facts list of a web page
// or fragment, agrees with the program's texts (check_invitation.h): one line per problem and
// status 1, or one line of agreement and status 0. Status 2 for wrong arguments or an unreadable
// file.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "check_invitation.h"

int main(int argc, char** argv) {
  const std::string_view kind = argc == 3 ? argv[1] : "";
  if (kind != "nfo" && kind != "readme" && kind != "page" && kind != "html") {
    std::fprintf(stderr, "usage: check_invitation_texts nfo|readme|page|html FILE\n");
    return 2;
  }
  std::ifstream in(argv[2], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "check_invitation_texts: cannot read %s\n", argv[2]);
    return 2;
  }
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const std::vector<std::string> problems = kind == "nfo"      ? info_file_problems(bytes)
                                            : kind == "readme" ? read_me_problems(bytes)
                                            : kind == "page"   ? party_page_problems(bytes)
                                                               : facts_html_problems(bytes);
  for (const std::string& problem : problems) std::printf("%s: %s\n", argv[2], problem.c_str());
  if (!problems.empty()) return 1;
  std::printf("%s agrees with the program's texts\n", argv[2]);
  return 0;
}
