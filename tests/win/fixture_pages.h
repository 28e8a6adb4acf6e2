#pragma once
// Result pages in the search site's layout, generated for tests: two hits
// per page number, each marked with its page and place.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/win/fixture_http_server.h"
#include "text/text.h"

// One hit of a fixture page, in the page's UTF-8 and as the program shows it
// (code page 936, highlight markup removed).
struct FixtureHit {
  std::string title_html;  // UTF-8
  Text title;              // code page 936, cleaned
  Text date, size, popularity, hash, link;

  Text record() const {
    return "片名 " + title + "创建日期:" + date + "  文件大小:" + size + "\r\n磁力链接 magnet:?xt=urn:btih:" + hash +
           "&xl\r\n迅雷链接 magnet:?xt=urn:btih:" + hash + "&xl\r\n";
  }
};

// The hits of page `page`: two of them, each marked with its page and place.
inline std::vector<FixtureHit> fixture_hits(int page) {
  std::vector<FixtureHit> hits;
  for (int i = 1; i <= 2; ++i) {
    const std::string p = std::to_string(page), n = std::to_string(i);
    FixtureHit hit;
    hit.title_html = std::string(u8"<span class=\"highlight\">abc</span> 纪录片 第") + p + u8"页 第" + n + u8"条";
    hit.title = "abc 纪录片 第" + p + "页 第" + n + "条";
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

// A result page in the site's layout: UTF-8, lines ending in LF.
inline std::string fixture_result_page(const std::vector<FixtureHit>& hits) {
  std::string page =
      u8"<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>搜索结果</title>\n</head>\n<body>\n"
      u8"<div class=\"search-list\">\n";
  for (const FixtureHit& hit : hits) {
    // Dates, sizes and counts are ASCII, the same bytes in UTF-8 and code page 936.
    page += u8"<div class=\"search-item\">\n<div class=\"item-title\">\n<h3><a target=\"_blank\" href=\"/" + hit.hash +
            u8".html\">\n</a></h3>\n<dl class=\"BotInfo\">\n<div class=\"item-list\">" + hit.title_html +
            u8"\n</div>\n<dt>\n创建日期：<span>" + hit.date + u8"</span>\n文件大小：<span>" + hit.size +
            u8"</span>\n访问热度：<span>" + hit.popularity + u8"</span>\n<a href=\"" + hit.link +
            u8"\" class=\"download\">迅雷链接</a>\n</dt>\n</dl>\n</div>\n";
  }
  return page + "</div>\n</body>\n</html>\n";
}

// The page number in a request target ".../<keyword>_ctime_<page>.html", or -999.
inline int page_of_target(const std::string& target) {
  const size_t at = target.rfind("_ctime_");
  return at == std::string::npos ? -999 : std::atoi(target.c_str() + at + 7);
}

// Serves every page number with its fixture hits.
inline std::string serve_fixture_pages(const std::string& target) {
  return FixtureHttpServer::response(200, "OK", fixture_result_page(fixture_hits(page_of_target(target))));
}
