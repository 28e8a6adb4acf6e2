#pragma once
// Result pages in the search site's layout, for the tests, the benchmarks and
// the demo site: the one place that writes the site's page layout. Pages are
// UTF-8, as the site sends them.
#include <optional>
#include <string>
#include <vector>

// One hit as the page writes it. Every field is UTF-8 and goes onto the page
// as it stands (no escaping).
struct PageHit {
  std::string title_html;                 // highlight markup included
  std::string date;                       // 创建日期
  std::string size;                       // 文件大小
  std::optional<std::string> popularity;  // 访问热度; nullopt: the hit has no such line
  std::string hash;                       // the info-hash in the hit's address
  std::string link;                       // the thunder:// link
};

struct PageOptions {
  std::string page_title = "search";
  // Lines written after each hit's fields, inside the hit (a file list, say).
  std::vector<std::string> filler_lines;
  bool crlf = false;  // lines end in CR LF instead of LF
};

// The page's parts: result_page is the head, each hit, then the tail.
std::string result_page_head(const PageOptions& options);
std::string result_page_hit(const PageHit& hit, const PageOptions& options);
std::string result_page_tail(const PageOptions& options);

std::string result_page(const std::vector<PageHit>& hits, const PageOptions& options = {});
