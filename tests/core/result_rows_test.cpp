#include "search/result_rows.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "search/page_decoding.h"

namespace {

std::string b(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

// The fixture is a result page as the site sends it: UTF-8, LF lines. It is
// written by hand, apart from the page writer the Wine tests and benchmarks
// use (tests/support/result_page.cpp), so that it checks the patterns against
// a page of its own, with the site's odd spots (upper-case markup, a hit
// without a popularity line, a percent escape).
Text read_fixture_page(const char* name) {
  std::ifstream in(std::string(QUENLIT_TEST_DATA) + "/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

Text replace_all(Text text, const Text& from, const Text& to) {
  for (size_t at = text.find(from); at != Text::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

class FakeSink : public ResultSink {
public:
  void add_hit(ResultHit hit) override {
    hits.push_back(hit);
    events.push_back('h');
  }
  void yield() override { events.push_back('y'); }
  std::vector<ResultHit> hits;
  std::string events;
};

struct PageRun {
  std::array<RegexObject, 6> objects;
  FakeSink sink;
};

// What the worker does with a fetched page: decode it, one object per field
// pattern over the decoded text, then the rows.
void run_page(const Text& raw_page, PageRun& run) {
  const Text page = decode_page_text(raw_page, true);
  for (size_t i = 0; i < run.objects.size(); ++i) run.objects[i].create(*field_patterns[i], page);
  add_result_rows(run.objects, run.sink);
}

TEST(ResultRows, PatternsAreTheSiteLayoutInCodePage936) {
  EXPECT_EQ(title_pattern,
            "\n</a></h3>\n<dl class=\"BotInfo\">\n<div class=\"item-list\">(.*)\n</div>\n<dt>");
  // 创建日期 and the full-width colon A3 BA
  EXPECT_EQ(date_pattern, b({0xB4, 0xB4, 0xBD, 0xA8, 0xC8, 0xD5, 0xC6, 0xDA, 0xA3, 0xBA}) + "<span>(.*)</span>");
  EXPECT_EQ(size_pattern, b({'\n', 0xCE, 0xC4, 0xBC, 0xFE, 0xB4, 0xF3, 0xD0, 0xA1, 0xA3, 0xBA}) + "<span>(.*B)</span>");
  EXPECT_EQ(popularity_pattern,
            b({'\n', 0xB7, 0xC3, 0xCE, 0xCA, 0xC8, 0xC8, 0xB6, 0xC8, 0xA3, 0xBA}) + "<span>(\\d{1,100000})</span>");
  EXPECT_EQ(hash_pattern, "target=\"_blank\" href=\"/(.*).html\">");
  EXPECT_EQ(link_pattern,
            "<a href=\"(th.*)\" class=\"download\">" + b({0xD1, 0xB8, 0xC0, 0xD7, 0xC1, 0xB4, 0xBD, 0xD3}) + "</a>");
  EXPECT_EQ(field_patterns[0], &title_pattern);
  EXPECT_EQ(field_patterns[5], &link_pattern);
}

TEST(ResultRows, RecordIsThreeCrLfLines) {
  const Text record = make_hit_record("T", "D", "S", "H");
  EXPECT_EQ(record,
            "片名 T创建日期:D  文件大小:S\r\n"
            "磁力链接 magnet:?xt=urn:btih:H&xl\r\n"
            "迅雷链接 magnet:?xt=urn:btih:H&xl\r\n");
  // 片名 and a space; the labels end in ASCII colons
  EXPECT_EQ(record.substr(0, 5), b({0xC6, 0xAC, 0xC3, 0xFB, ' '}));
  EXPECT_EQ(record.find(b({0xA3, 0xBA})), Text::npos);
  // missing values leave the labels in place
  EXPECT_EQ(make_hit_record("", "", "", ""),
            "片名 创建日期:  文件大小:\r\n"
            "磁力链接 magnet:?xt=urn:btih:&xl\r\n"
            "迅雷链接 magnet:?xt=urn:btih:&xl\r\n");
}

TEST(ResultRows, FixturePageGivesOneRowPerHitInPageOrder) {
  PageRun run;
  run_page(read_fixture_page("result_page.html"), run);
  ASSERT_EQ(run.sink.hits.size(), 4u);
  EXPECT_EQ(run.sink.events, "hyhyhyhy");  // a yield after every hit

  const ResultHit& first = run.sink.hits[0];
  EXPECT_EQ(first.cells[kColNumber], "");  // numbered where the row is added
  EXPECT_EQ(first.cells[kColTitle], "Ubuntu 22.04 桌面版 amd64 ubuntu.iso");
  EXPECT_EQ(first.cells[kColSize], "4.69 GB");
  EXPECT_EQ(first.cells[kColDate], "2023-04-21");
  EXPECT_EQ(first.cells[kColPopularity], "1523");
  EXPECT_EQ(first.cells[kColHash], "5a2b0c3e7d1f4a6b8c9d0e1f2a3b4c5d6e7f8a9b");
  EXPECT_EQ(first.cells[kColLink], "thunder://QUFtYWduZXQ6P3h0PXVybjpidGloOjVhMmI=");
  EXPECT_EQ(first.record,
            "片名 Ubuntu 22.04 桌面版 amd64 ubuntu.iso创建日期:2023-04-21  文件大小:4.69 GB\r\n"
            "磁力链接 magnet:?xt=urn:btih:5a2b0c3e7d1f4a6b8c9d0e1f2a3b4c5d6e7f8a9b&xl\r\n"
            "迅雷链接 magnet:?xt=urn:btih:5a2b0c3e7d1f4a6b8c9d0e1f2a3b4c5d6e7f8a9b&xl\r\n");
  // 桌面版 in code page 936
  EXPECT_NE(first.record.find(b({0xD7, 0xC0, 0xC3, 0xE6, 0xB0, 0xE6})), Text::npos);

  EXPECT_EQ(run.sink.hits[1].cells[kColHash], "0f1e2d3c4b5a69788796a5b4c3d2e1f00f1e2d3c");
  EXPECT_EQ(run.sink.hits[1].cells[kColSize], "1.13 gb");  // "B" matches either case
  EXPECT_EQ(run.sink.hits[2].cells[kColTitle], "学习 ubuntu 视频教程 全集");
  EXPECT_EQ(run.sink.hits[3].cells[kColDate], "2018-04-26");
}

TEST(ResultRows, HighlightMarkupRemovedInEitherCase) {
  PageRun run;
  run_page(read_fixture_page("result_page.html"), run);
  ASSERT_EQ(run.sink.hits.size(), 4u);
  // capital tags, and an escape in the title decoded
  EXPECT_EQ(run.sink.hits[1].cells[kColTitle], "UBUNTU Server 20.04 LTS (live)");
  for (const ResultHit& hit : run.sink.hits) {
    EXPECT_EQ(hit.cells[kColTitle].find('<'), Text::npos) << hit.cells[kColTitle];
    EXPECT_EQ(hit.record.find('<'), Text::npos);
  }
}

// The third hit has no popularity line: fields pair with titles by number,
// so the counts move up one row and the last row's stays empty.
TEST(ResultRows, MissingFieldShiftsTheLaterRows) {
  PageRun run;
  run_page(read_fixture_page("result_page.html"), run);
  ASSERT_EQ(run.sink.hits.size(), 4u);
  EXPECT_EQ(run.objects[3].match_count(), 3);
  EXPECT_EQ(run.sink.hits[0].cells[kColPopularity], "1523");
  EXPECT_EQ(run.sink.hits[1].cells[kColPopularity], "87");
  EXPECT_EQ(run.sink.hits[2].cells[kColPopularity], "40");
  EXPECT_EQ(run.sink.hits[3].cells[kColPopularity], "");
  // the other fields stay with their hits
  EXPECT_EQ(run.sink.hits[2].cells[kColHash], "aaaabbbbccccddddeeeeffff0000111122223333");
  EXPECT_EQ(run.sink.hits[3].cells[kColHash], "9999888877776666555544443333222211110000");
}

TEST(ResultRows, CrLfPageGivesNoRows) {
  PageRun run;
  run_page(replace_all(read_fixture_page("result_page.html"), "\n", "\r\n"), run);
  EXPECT_EQ(run.objects[0].match_count(), 0);
  EXPECT_TRUE(run.sink.hits.empty());
  EXPECT_EQ(run.sink.events, "");
}

TEST(ResultRows, NoTitleMatchesGiveNothingWhateverTheOtherFieldsFind) {
  PageRun run;
  run_page(replace_all(read_fixture_page("result_page.html"), "item-list", "item-lst"), run);
  EXPECT_EQ(run.objects[1].match_count(), 4);
  EXPECT_EQ(run.objects[4].match_count(), 4);
  EXPECT_TRUE(run.sink.hits.empty());
  EXPECT_EQ(run.sink.events, "");

  PageRun empty;
  run_page("", empty);
  EXPECT_TRUE(empty.sink.hits.empty());
}

// More fields than titles: the extra matches are never read.
TEST(ResultRows, ExtraFieldMatchesAreIgnored) {
  const Text raw = read_fixture_page("result_page.html");
  // the first hit's title no longer has the site's layout
  const Text botinfo = "<dl class=\"BotInfo\">";
  const size_t cut = raw.find(botinfo);
  ASSERT_NE(cut, Text::npos);
  PageRun run;
  run_page(Text(raw).replace(cut, botinfo.size(), "<dl class=\"Info\">"), run);
  ASSERT_EQ(run.sink.hits.size(), 3u);
  EXPECT_EQ(run.sink.hits[0].cells[kColTitle], "UBUNTU Server 20.04 LTS (live)");
  EXPECT_EQ(run.sink.hits[0].cells[kColHash], "5a2b0c3e7d1f4a6b8c9d0e1f2a3b4c5d6e7f8a9b");
}

}  // namespace
