#pragma once
// Result pages of the fixture site: two hits per page number, each marked
// with its page and place, in the site's layout.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/result_page.h"
#include "tests/win/fixture_http_server.h"

// The hits of page `page`: two of them, each marked with its page and place.
// Hit n of page p: title "abc 纪录片 第p页 第n条" (abc highlighted), date
// 2019-03-1n, size 1.3n GB, popularity 100p+n, hash 0000000p0000000n
// followed by c0ffee00 three times, link thunder://QUFtYWduZXQ<hash>.
inline std::vector<PageHit> fixture_hits(int page) {
  std::vector<PageHit> hits;
  for (int i = 1; i <= 2; ++i) {
    const std::string p = std::to_string(page), n = std::to_string(i);
    PageHit hit;
    hit.title_html = std::string(u8"<span class=\"highlight\">abc</span> 纪录片 第") + p + u8"页 第" + n + u8"条";
    hit.date = "2019-03-1" + n;
    hit.size = "1.3" + n + " GB";
    hit.popularity = std::to_string(100 * page + i);
    char hash[48];
    std::snprintf(hash, sizeof hash, "%08x%08xc0ffee00c0ffee00c0ffee00", static_cast<unsigned>(page),
                  static_cast<unsigned>(i));
    hit.hash = hash;
    hit.link = "thunder://QUFtYWduZXQ" + hit.hash;
    hits.push_back(hit);
  }
  return hits;
}

// The page number in a request target ".../<keyword>_ctime_<page>.html", or -999.
inline int page_of_target(const std::string& target) {
  const size_t at = target.rfind("_ctime_");
  return at == std::string::npos ? -999 : std::atoi(target.c_str() + at + 7);
}

// Serves every page number with its fixture hits.
inline std::string serve_fixture_pages(const std::string& target) {
  return FixtureHttpServer::response(200, "OK", result_page(fixture_hits(page_of_target(target))));
}
