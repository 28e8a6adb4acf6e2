// Prints how long one result page of 1000 hits takes from the fetched body to
// the last row: percent-decoding and UTF-8 to code page 936, the six pattern
// objects over the decoded text, and reading every hit into a sink.
// Run: build/bench/rows_bench [runs]
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "regex/regex_object.h"
#include "search/page_decoding.h"
#include "search/result_rows.h"
#include "tests/support/result_page.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A page as the site sends it: UTF-8 (u8 literals, since plain ones are code
// page 936 here), LF lines, raw UTF-8 with a percent-escape now and then.
std::string make_page(int hits) {
  static const char* const words[] = {u8"电影", u8"高清", u8"合集", u8"纪录片", u8"教程", u8"音乐", u8"中字", u8"蓝光"};
  std::vector<PageHit> page_hits;
  char hash[41];
  for (int i = 0; i < hits; ++i) {
    std::snprintf(hash, sizeof hash, "%08x%08x%08x%08x%08x", i * 2654435761u, i * 40503u + 7, i ^ 0x5bd1e995,
                  i * 97u, i + 1u);
    const std::string word = words[i % 8];
    PageHit hit;
    hit.title_html = std::string(u8"<span class=\"highlight\">Ubuntu</span> ") + word + " " +
                     std::to_string(18 + i % 6) + (i % 50 == 0 ? "%20LTS%28live%29" : " LTS desktop") + u8" 第" +
                     std::to_string(i) + u8"集 " + words[(i + 3) % 8] + ".mkv";
    hit.date = "20" + std::to_string(10 + i % 13) + "-0" + std::to_string(1 + i % 9) + "-1" + std::to_string(i % 10);
    hit.size = std::to_string(1 + i % 40) + "." + std::to_string(i % 100) + (i % 3 ? " GB" : " MB");
    hit.popularity = std::to_string(i * 37 % 100000);
    hit.hash = hash;
    hit.link = "thunder://QUFtYWduZXQ6P3h0PXVybjpidGloOj" + std::string(hash, 12) + "=";
    page_hits.push_back(hit);
  }
  PageOptions options;
  options.page_title = u8"ubuntu_最新收录";
  return result_page(page_hits, options);
}

class CountingSink : public ResultSink {
public:
  void add_hit(ResultHit hit) override {
    ++rows;
    record_bytes += hit.record.size();
  }
  void yield() override {}
  int rows = 0;
  size_t record_bytes = 0;
};

struct Run {
  double percent_ms, utf8_ms, decode_ms, total_create_ms, rows_ms;
  std::array<double, 6> create_ms;
  int rows;
};

Run run_once(const std::string& raw) {
  Run r{};
  auto t = Clock::now();
  const Text unescaped = decode_page_text(raw);
  r.percent_ms = ms_since(t);
  t = Clock::now();
  const Text converted = utf8_to_gbk(unescaped);
  r.utf8_ms = ms_since(t);

  t = Clock::now();
  const Text page = decode_page_text(raw, true);
  r.decode_ms = ms_since(t);
  if (page != converted) std::fprintf(stderr, "decoding differs between the two ways\n");

  std::array<RegexObject, 6> objects;
  for (size_t i = 0; i < objects.size(); ++i) {
    t = Clock::now();
    objects[i].create(*field_patterns[i], page);
    r.create_ms[i] = ms_since(t);
    r.total_create_ms += r.create_ms[i];
  }
  CountingSink sink;
  t = Clock::now();
  add_result_rows(objects, sink);
  r.rows_ms = ms_since(t);
  r.rows = sink.rows;
  return r;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const std::string raw = make_page(1000);
  std::printf("page: 1000 hits, %zu bytes of UTF-8\n", raw.size());
  run_once(raw);  // first use builds the code page tables

  std::vector<Run> all;
  for (int i = 0; i < runs; ++i) all.push_back(run_once(raw));
  const auto med = [&](auto field) {
    std::vector<double> v;
    for (const Run& r : all) v.push_back(field(r));
    return median(v);
  };
  std::printf("rows read: %d\n", all.back().rows);
  std::printf("median of %d runs, ms:\n", runs);
  std::printf("  percent-decoding alone        %8.3f\n", med([](const Run& r) { return r.percent_ms; }));
  std::printf("  UTF-8 to 936 alone            %8.3f\n", med([](const Run& r) { return r.utf8_ms; }));
  std::printf("  decode_page_text(page, true)  %8.3f\n", med([](const Run& r) { return r.decode_ms; }));
  static const char* const names[] = {"title", "date", "size", "popularity", "hash", "link"};
  for (size_t i = 0; i < 6; ++i) {
    std::printf("  create %-22s %8.3f\n", names[i], med([i](const Run& r) { return r.create_ms[i]; }));
  }
  std::printf("  six creates                   %8.3f\n", med([](const Run& r) { return r.total_create_ms; }));
  std::printf("  add_result_rows (all rows)    %8.3f\n", med([](const Run& r) { return r.rows_ms; }));
  std::printf("  total (decode + creates + rows) %6.3f\n",
              med([](const Run& r) { return r.decode_ms + r.total_create_ms + r.rows_ms; }));
  return 0;
}
