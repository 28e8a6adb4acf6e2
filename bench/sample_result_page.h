#pragma once
// A result page in the search site's layout (UTF-8, LF lines) with `hits`
// hits, for the benchmark programs.
#include <cstdio>
#include <string>

inline std::string sample_result_page(int hits) {
  std::string page = u8"<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>纪录片 第1页</title>\n"
                     u8"</head>\n<body>\n<div class=\"search-list\">\n";
  char buffer[2048];
  for (int i = 0; i < hits; ++i) {
    std::snprintf(buffer, sizeof buffer,
                  u8"<div class=\"search-item\">\n<div class=\"item-title\">\n"
                  u8"<h3><a target=\"_blank\" href=\"/%08x%08x%08x%08x%08x.html\">\n"
                  u8"BBC <span class=\"highlight\">纪录片</span> 蓝色星球 第%d集 1080p\n</a></h3>\n"
                  u8"<dl class=\"BotInfo\">\n"
                  u8"<div class=\"item-list\">BBC <span class=\"highlight\">纪录片</span> 蓝色星球 第%d集 "
                  u8"1080p 中英双字 Blue.Planet.S01E%02d.mkv\n</div>\n"
                  u8"<dt>创建日期：<span>2021-%02d-%02d</span>\n文件大小：<span>%d.%d GB</span>\n"
                  u8"访问热度：<span>%d</span>\n最近下载：<span>2023-06-01</span>\n</dt>\n"
                  u8"<dd><a href=\"thunder://QUFtYWduZXQ6P3h0PXVybjpidGloOj%06d\" class=\"download\">迅雷链接</a></dd>\n"
                  u8"</dl>\n<p class=\"files\">Blue.Planet.S01E%02d.mkv 4.2 GB</p>\n</div>\n</div>\n",
                  i * 2654435761u, i * 40503u, i * 97u + 1, 0xABCDEFu ^ i, i, i + 1, i + 1, i % 99 + 1,
                  i % 12 + 1, i % 28 + 1, i % 50 + 1, i % 10, (i * 7919) % 100000, i, i % 99 + 1);
    page += buffer;
  }
  page += "</div>\n</body>\n</html>\n";
  return page;
}
