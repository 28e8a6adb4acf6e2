#pragma once
// A result page with `hits` hits for the benchmark programs: episodes of a
// documentary, UTF-8 (u8 literals, since plain ones are code page 936 here),
// each hit followed by a line of its file list.
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/result_page.h"

inline std::vector<PageHit> sample_hits(int hits) {
  std::vector<PageHit> out;
  char text[256];
  for (int i = 0; i < hits; ++i) {
    PageHit hit;
    std::snprintf(text, sizeof text,
                  u8"BBC <span class=\"highlight\">纪录片</span> 蓝色星球 第%d集 1080p 中英双字 "
                  u8"Blue.Planet.S01E%02d.mkv",
                  i + 1, i % 99 + 1);
    hit.title_html = text;
    std::snprintf(text, sizeof text, "2021-%02d-%02d", i % 12 + 1, i % 28 + 1);
    hit.date = text;
    std::snprintf(text, sizeof text, "%d.%d GB", i % 50 + 1, i % 10);
    hit.size = text;
    hit.popularity = std::to_string((i * 7919) % 100000);
    std::snprintf(text, sizeof text, "%08x%08x%08x%08x%08x", i * 2654435761u, i * 40503u, i * 97u + 1,
                  0xABCDEFu ^ static_cast<unsigned>(i), static_cast<unsigned>(i));
    hit.hash = text;
    std::snprintf(text, sizeof text, "thunder://QUFtYWduZXQ6P3h0PXVybjpidGloOj%06d", i);
    hit.link = text;
    out.push_back(hit);
  }
  return out;
}

inline PageOptions sample_page_options() {
  PageOptions options;
  options.page_title = u8"纪录片 第1页";
  options.filler_lines = {u8"<p class=\"files\">Blue.Planet.S01E01.mkv 4.2 GB</p>"};
  return options;
}

inline std::string sample_result_page(int hits) { return result_page(sample_hits(hits), sample_page_options()); }
