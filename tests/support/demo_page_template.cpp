// Writes the demo site's page template: the parts of a result page in the
// site's layout, with a placeholder for each field, as JSON that
// demo/search_site.py reads. With --check it compares instead of writing and
// fails when the file differs, so the demo keeps the tests' layout.
//   demo_page_template demo/result_page_template.json
//   demo_page_template --check demo/result_page_template.json
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/result_page.h"

namespace {

std::string json_string(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);  // UTF-8 goes through as it is
    }
  }
  return out + "\"";
}

std::string template_json() {
  PageOptions options;
  options.page_title = "{page_title}";
  PageHit hit{"{title_html}", "{date}", "{size}", std::string("{popularity}"), "{hash}", "{link}"};
  return "{\n  \"head\": " + json_string(result_page_head(options)) + ",\n  \"hit\": " +
         json_string(result_page_hit(hit, options)) + ",\n  \"tail\": " + json_string(result_page_tail(options)) +
         "\n}\n";
}

}  // namespace

int main(int argc, char** argv) {
  const bool check = argc == 3 && std::strcmp(argv[1], "--check") == 0;
  if (argc != 2 && !check) {
    std::fprintf(stderr, "usage: %s [--check] <template.json>\n", argv[0]);
    return 2;
  }
  const char* path = argv[argc - 1];
  const std::string wanted = template_json();
  if (check) {
    std::ifstream in(path, std::ios::binary);
    const std::string present((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (present == wanted) return 0;
    std::fprintf(stderr, "%s is not the current page layout; rewrite it with: %s %s\n", path, argv[0], path);
    return 1;
  }
  std::ofstream out(path, std::ios::binary);
  out << wanted;
  return out ? 0 : 1;
}
