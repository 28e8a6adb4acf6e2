#include "search/search_worker.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// The fixture is a result page as the site sends it: UTF-8, LF lines. It is
// written by hand, apart from the page writer the Wine tests and benchmarks
// use (tests/support/result_page.cpp), so that it checks the patterns against
// a page of its own, with the site's odd spots (upper-case markup, a hit
// without a popularity line, a percent escape).
std::string read_fixture_page(const char* name) {
  std::ifstream in(std::string(QUENLIT_TEST_DATA) + "/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Records what a worker asks of the window, in order. The window's answer to
// a row count is its own rows plus the ones it was handed.
class FakeWindow : public ResultWindow {
public:
  void clear_list() override {
    calls.push_back("clear");
    rows = 0;
  }
  void set_status(const Text& text) override { calls.push_back("status " + text); }
  void add_hits(std::vector<ResultHit> hits) override {
    calls.push_back("hits " + std::to_string(hits.size()));
    rows += static_cast<int>(hits.size());
    for (ResultHit& hit : hits) handed.push_back(std::move(hit));
  }
  int row_count() override {
    calls.push_back("count");
    return rows + rows_of_other_workers;
  }

  std::vector<std::string> calls;
  std::vector<ResultHit> handed;
  int rows = 0;
  int rows_of_other_workers = 0;
};

struct WorkerRun {
  FakeWindow window;
  PageTextSlot page_text;
  std::vector<Text> fetched;
  int yields = 0;

  void run(std::int32_t page, const Text& keyword, const std::string& body, const Text& origin = "http://site.test:81") {
    const SearchServices services{origin,
                                  [&](const Text& address) {
                                    fetched.push_back(address);
                                    return body;
                                  },
                                  [&] { ++yields; },
                                  window,
                                  page_text};
    // On a thread of its own, as the program runs it: what the thread kept
    // for itself goes when it ends.
    std::thread worker([&] { run_search(page, keyword, services); });
    worker.join();
  }

  // The calls with the hit batches joined: "hits N" for all that were handed.
  std::vector<std::string> calls_with_hits_joined() const {
    std::vector<std::string> joined;
    int hits = 0;
    for (const std::string& call : window.calls) {
      if (call.rfind("hits ", 0) == 0) {
        hits += std::stoi(call.substr(5));
        continue;
      }
      if (hits) joined.push_back("hits " + std::to_string(hits));
      hits = 0;
      joined.push_back(call);
    }
    return joined;
  }
};

TEST(SearchWorker, ClearsSearchesHandsEveryHitInOrderThenCountsTheList) {
  WorkerRun worker;
  worker.window.rows_of_other_workers = 3;
  worker.run(2, "ubuntu", read_fixture_page("result_page.html"));

  EXPECT_EQ(worker.fetched, std::vector<Text>{"http://site.test:81/search/ubuntu_ctime_2.html"});
  EXPECT_EQ(worker.calls_with_hits_joined(),
            (std::vector<std::string>{"clear", "status 正在搜索....", "hits 4", "count",
                                      "status 搜索完毕共获取【7】条信息"}));
  ASSERT_EQ(worker.window.handed.size(), 4u);
  EXPECT_EQ(worker.window.handed[0].record,
            "片名 Ubuntu 22.04 桌面版 amd64 ubuntu.iso创建日期:2023-04-21  文件大小:4.69 GB\r\n"
            "磁力链接 magnet:?xt=urn:btih:5a2b0c3e7d1f4a6b8c9d0e1f2a3b4c5d6e7f8a9b&xl\r\n"
            "迅雷链接 magnet:?xt=urn:btih:5a2b0c3e7d1f4a6b8c9d0e1f2a3b4c5d6e7f8a9b&xl\r\n");
  const char* hashes[] = {"5a2b0c3e7d1f4a6b8c9d0e1f2a3b4c5d6e7f8a9b", "0f1e2d3c4b5a69788796a5b4c3d2e1f00f1e2d3c",
                          "aaaabbbbccccddddeeeeffff0000111122223333", "9999888877776666555544443333222211110000"};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(worker.window.handed[i].cells[kColHash], hashes[i]) << i;
  EXPECT_EQ(worker.yields, 4);  // between hits

  // The decoded page is published in code page 936; the slot's hold is the only one left.
  const PageTextSlot::Handle published = worker.page_text.current();
  ASSERT_TRUE(published);
  EXPECT_NE(published->find("创建日期：<span>2023-04-21</span>"), Text::npos);
  EXPECT_EQ(published.use_count(), 2);  // the slot's and this test's
}

TEST(SearchWorker, AnEmptyOrUnmatchedBodyHandsNothingAndCountsTheList) {
  const struct {
    const char* name;
    std::string body;
    Text published;
  } cases[] = {
      {"no body", "", ""},
      {"an error page", "<html>404</html>", "<html>404</html>"},
      // The page is a text: it ends at its first zero byte.
      {"a zero byte", std::string("0123456789\0" "abc", 14), "0123456789"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WorkerRun worker;
    worker.run(1, "abc", c.body);
    EXPECT_EQ(worker.window.calls, (std::vector<std::string>{"clear", "status 正在搜索....", "count",
                                                             "status 搜索完毕共获取【0】条信息"}));
    ASSERT_TRUE(worker.page_text.current());
    EXPECT_EQ(*worker.page_text.current(), c.published);
  }
}

TEST(SearchWorker, TheAddressTakesTheKeywordsBytesAndThePagesSign) {
  const struct {
    Text keyword;
    std::int32_t page;
    Text address;
  } cases[] = {
      {"中 b", 3, "http://h/search/\xD6\xD0 b_ctime_3.html"},
      {"%41+&=", 0, "http://h/search/%41+&=_ctime_0.html"},
      {"abc", -2147483647 - 1, "http://h/search/abc_ctime_-2147483648.html"},
  };
  for (const auto& c : cases) {
    WorkerRun worker;
    worker.run(c.page, c.keyword, "", "http://h");
    EXPECT_EQ(worker.fetched, std::vector<Text>{c.address});
  }
}

}  // namespace
