#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "app/main_window_win32.h"
#include "app/program_state.h"
#include "search/page_text.h"
#include "win32/http_fetch_win32.h"
#include "app/search_worker_win32.h"
#include "search/search_worker.h"
#include "tests/win/fixture_http_server.h"
#include "tests/win/search_test_support.h"

namespace {

// Runs one worker on a thread of its own while this (the window's) thread
// pumps messages, as the program's message loop would.
void run_worker(SearchSiteFixture& site, std::int32_t page, const Text& keyword) {
  std::thread worker([page, keyword] { search_worker(page, keyword); });
  const bool finished = site.wait_for_workers(1);
  worker.join();
  ASSERT_TRUE(finished) << "the worker did not finish within 20 s";
}

std::wstring status_text() { return wide_control_text(Control::StatusLabel); }

TEST(SearchWorker, AsksForThePageWithTheAgentAcceptHeaderAndHttp10) {
  SearchSiteFixture site;
  ASSERT_TRUE(site.server().listening());
  run_worker(site, 1, "abc");
  const auto requests = site.server().requests();
  ASSERT_EQ(requests.size(), 1u);
  const SeenRequest& request = requests[0];
  EXPECT_EQ(request.method, "GET");
  EXPECT_EQ(request.target, "/search/abc_ctime_1.html");
  EXPECT_EQ(request.version, "HTTP/1.0");
  EXPECT_EQ(request.header_values("User-Agent"),
            std::vector<std::string>{"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)"});
  EXPECT_EQ(request.header_values("Accept"), std::vector<std::string>{"*/*"});
  EXPECT_EQ(request.header_values("Host"), std::vector<std::string>{site.server().host()});
  EXPECT_TRUE(request.header_values("Proxy-Connection").empty()) << request.head;
}

TEST(SearchWorker, FillsTheListAndCollectedTextAndReportsTheCount) {
  SearchSiteFixture site;
  run_worker(site, 7, "abc");
  const wchar_t* const rows[2][kColumnCount] = {
      {L"1", L"abc 纪录片 第7页 第1条", L"1.31 GB", L"2019-03-11", L"701",
       L"0000000700000001c0ffee00c0ffee00c0ffee00", L"thunder://QUFtYWduZXQ0000000700000001c0ffee00c0ffee00c0ffee00"},
      {L"2", L"abc 纪录片 第7页 第2条", L"1.32 GB", L"2019-03-12", L"702",
       L"0000000700000002c0ffee00c0ffee00c0ffee00", L"thunder://QUFtYWduZXQ0000000700000002c0ffee00c0ffee00c0ffee00"},
  };
  ASSERT_EQ(list_rows(), 2);
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < kColumnCount; ++column) {
      EXPECT_EQ(wide_list_cell(row, column), rows[row][column]) << "row " << row << ", column " << column;
    }
  }
  EXPECT_EQ(collected_text(),
            "片名 abc 纪录片 第7页 第1条创建日期:2019-03-11  文件大小:1.31 GB\r\n"
            "磁力链接 magnet:?xt=urn:btih:0000000700000001c0ffee00c0ffee00c0ffee00&xl\r\n"
            "迅雷链接 magnet:?xt=urn:btih:0000000700000001c0ffee00c0ffee00c0ffee00&xl\r\n"
            "片名 abc 纪录片 第7页 第2条创建日期:2019-03-12  文件大小:1.32 GB\r\n"
            "磁力链接 magnet:?xt=urn:btih:0000000700000002c0ffee00c0ffee00c0ffee00&xl\r\n"
            "迅雷链接 magnet:?xt=urn:btih:0000000700000002c0ffee00c0ffee00c0ffee00&xl\r\n");
  EXPECT_EQ(status_text(), L"搜索完毕共获取【2】条信息");
  // The decoded page is published, in code page 936.
  const auto published = page_text.current();
  ASSERT_TRUE(published);
  EXPECT_NE(published->find("创建日期：<span>2019-03-11</span>"), Text::npos);
}

TEST(SearchWorker, KeywordBytesGoIntoThePathUnescaped) {
  SearchSiteFixture site;
  const struct {
    Text keyword;
    std::int32_t page;
    std::string target;
  } cases[] = {
      {"中文", 2, "/search/\xD6\xD0\xCE\xC4_ctime_2.html"},
      {"%41+&=", 1, "/search/%41+&=_ctime_1.html"},
      {"a#b", 5, "/search/a"},  // a fragment is never sent
      {"abc", -1, "/search/abc_ctime_-1.html"},
      {"abc", 0, "/search/abc_ctime_0.html"},
      {"abc", -2147483647 - 1, "/search/abc_ctime_-2147483648.html"},
  };
  for (const auto& c : cases) run_worker(site, c.page, c.keyword);
  const auto requests = site.server().requests();
  ASSERT_EQ(requests.size(), std::size(cases));
  for (size_t i = 0; i < requests.size(); ++i) EXPECT_EQ(requests[i].target, cases[i].target);
}

TEST(SearchWorker, ASpaceInTheKeywordIsNotEscapedByTheProgram) {
  EXPECT_EQ(search_page_address("http://h:81", "中 b", 3), "http://h:81/search/中 b_ctime_3.html");
  SearchSiteFixture site;
  run_worker(site, 3, "中 b");
  const auto requests = site.server().requests();
  ASSERT_EQ(requests.size(), 1u);
  // Wine's HttpOpenRequest itself writes a space in the path as %20;
  // Windows sends the path as the program gives it.
  const std::string space = running_under_wine() ? "%20" : " ";
  EXPECT_EQ(requests[0].target, "/search/\xD6\xD0" + space + "b_ctime_3.html");
}

TEST(SearchWorker, NoNetworkEmptiesTheListAppendsNothingAndCountsZero) {
  SearchSiteFixture site;
  run_worker(site, 1, "abc");
  ASSERT_EQ(list_rows(), 2);
  const Text collected = collected_text();
  override_search_host_for_testing("127.0.0.1:" + std::to_string(FixtureHttpServer::unused_port()));
  {
    MessageBoxAnswerer no_box_expected({IDOK});
    run_worker(site, 2, "abc");
    EXPECT_EQ(no_box_expected.answered(), 0u);
  }
  EXPECT_EQ(list_rows(), 0);
  EXPECT_EQ(collected_text(), collected);
  EXPECT_EQ(status_text(), L"搜索完毕共获取【0】条信息");
  const auto published = page_text.current();
  ASSERT_TRUE(published);
  EXPECT_EQ(*published, "");
}

TEST(SearchWorker, AnErrorPageIsParsedLikeAnyPage) {
  SearchSiteFixture site([](const std::string& target) {
    if (target.find("_ctime_1.") != std::string::npos) {
      return FixtureHttpServer::response(404, "Not Found", "<html>no such page</html>\n");
    }
    return FixtureHttpServer::response(500, "Internal Server Error", result_page(fixture_hits(2)));
  });
  run_worker(site, 1, "abc");
  EXPECT_EQ(list_rows(), 0);
  EXPECT_EQ(status_text(), L"搜索完毕共获取【0】条信息");
  EXPECT_EQ(*page_text.current(), "<html>no such page</html>\n");
  // The status is not looked at: hits in an error answer still become rows.
  run_worker(site, 2, "abc");
  EXPECT_EQ(list_rows(), 2);
}

TEST(SearchWorker, TheBodyIsTextUpToItsFirstZeroByte) {
  const std::string large = [] {
    std::string body;
    for (size_t i = 0; body.size() < 300000; ++i) body += "line " + std::to_string(i) + "\n";
    body.resize(300000);
    return body;
  }();
  SearchSiteFixture site([&large](const std::string& target) {
    if (target.find("large") != std::string::npos) return FixtureHttpServer::response(200, "OK", large);
    return FixtureHttpServer::response(200, "OK", std::string("0123456789\0after the zero", 25));
  });
  run_worker(site, 1, "large");
  ASSERT_TRUE(page_text.current());
  EXPECT_EQ(page_text.current()->size(), 300000u);
  EXPECT_TRUE(*page_text.current() == large);
  run_worker(site, 1, "zero");
  EXPECT_EQ(*page_text.current(), "0123456789");
}

// The fetch itself, without the window.
TEST(HttpFetch, ReturnsWholeBodiesWhateverTheStatusAndNothingWhenUnreachable) {
  std::string large(300000, 'x');
  for (size_t i = 0; i < large.size(); i += 997) large[i] = static_cast<char>(i % 251);
  FixtureHttpServer server([&large](const std::string& target) {
    if (target == "/large") return FixtureHttpServer::response(200, "OK", large);
    if (target == "/zero") return FixtureHttpServer::response(200, "OK", std::string("0123456789\0tail", 15));
    if (target == "/missing") return FixtureHttpServer::response(404, "Not Found", "gone");
    // Announces more than it sends, then closes: the bytes read so far come back.
    if (target == "/cut") {
      return std::string("HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n") + std::string(500, 'c');
    }
    return FixtureHttpServer::response(200, "OK", "ok");
  });
  ASSERT_TRUE(server.listening());
  const std::string base = "http://" + server.host();
  EXPECT_TRUE(http_get(base + "/large") == large);
  EXPECT_EQ(http_get(base + "/zero"), std::string("0123456789\0tail", 15));
  EXPECT_EQ(http_get(base + "/missing"), "gone");
  EXPECT_EQ(http_get(base + "/cut"), std::string(500, 'c'));
  EXPECT_EQ(http_get(base + "/x#fragment"), "ok");
  EXPECT_EQ(server.requests().back().target, "/x");
  const size_t asked = server.request_count();
  EXPECT_EQ(http_get(""), "");
  EXPECT_EQ(http_get("#only a fragment"), "");
  EXPECT_EQ(http_get("not an address"), "");
  // A fetch that reaches the server, to it and back: the three above came to nothing.
  EXPECT_EQ(http_get(base + "/after"), "ok");
  EXPECT_EQ(server.request_count(), asked + 1);
  EXPECT_EQ(server.requests().back().target, "/after");
  EXPECT_EQ(http_get("http://127.0.0.1:" + std::to_string(FixtureHttpServer::unused_port()) + "/x"), "");
}

}  // namespace
