#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_window_win32.h"
#include "app/program_state.h"
#include "tests/win/search_test_support.h"
#include "tests/win/window_test_support.h"

namespace {

void click(Control button) { SendMessageW(control_handle(button), BM_CLICK, 0, 0); }

void set_text(Control c, const wchar_t* text) { SetWindowTextW(control_handle(c), text); }

// Types Enter into the keyword box the way the message loop delivers it; with
// Alt held it comes as a system key (context bit 29 set).
void press_enter_in_keyword_box(bool alt = false) {
  HWND box = control_handle(Control::KeywordBox);
  SetFocus(box);
  PostMessageW(box, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, VK_RETURN, alt ? 0x20000001 : 1);
  PostMessageW(box, alt ? WM_SYSKEYUP : WM_KEYUP, VK_RETURN, alt ? 0xE0000001 : 0xC0000001);
  pump_messages(20);
}

// The keyword is set first (which puts "1" into the page box), then the page box.
void prepare(const wchar_t* keyword, const wchar_t* page_box) {
  set_text(Control::KeywordBox, keyword);
  set_text(Control::PageBox, page_box);
}

std::vector<int> pages_asked(const FixtureHttpServer& server) {
  std::vector<int> pages;
  for (const SeenRequest& request : server.requests()) pages.push_back(page_of_target(request.target));
  return pages;
}

TEST(SearchCommands, NextPageAdvancesTheBoxAndAsksForItsWholePart) {
  const struct {
    const wchar_t* box;
    const wchar_t* after;
    int page;
  } cases[] = {
      {L"1", L"2", 2},   {L"2.5", L"3.5", 3}, {L"abc", L"1", 1}, {L"", L"1", 1},
      {L"３", L"4", 4},  {L"-5", L"-4", -4},  {L"4294967295", L"4294967296", 0},
  };
  SearchSiteFixture site;
  std::vector<int> expected_pages;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.box)));
    prepare(L"abc", c.box);
    click(Control::NextPage);
    EXPECT_EQ(wide_control_text(Control::PageBox), c.after);
    EXPECT_EQ(page_counter, c.page);
    ASSERT_TRUE(site.wait_for_workers(1)) << "the search did not finish within 20 s";
    expected_pages.push_back(c.page);
  }
  EXPECT_EQ(pages_asked(site.server()), expected_pages);
}

TEST(SearchCommands, PreviousPageStepsBackOnlyWhileTheNumberStaysAboveZero) {
  SearchSiteFixture site;
  for (const wchar_t* box : {L"1", L"0", L"1.00000001", L"abc"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(box)));
    prepare(L"abc", box);
    page_counter = 77;
    click(Control::PreviousPage);
    EXPECT_EQ(wide_control_text(Control::PageBox), box);
    EXPECT_EQ(page_counter, 77);
  }
  const struct {
    const wchar_t* box;
    const wchar_t* after;
    int page;
  } cases[] = {{L"2", L"1", 1}, {L"1.5", L"0.5", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.box)));
    prepare(L"abc", c.box);
    click(Control::PreviousPage);
    EXPECT_EQ(wide_control_text(Control::PageBox), c.after);
    EXPECT_EQ(page_counter, c.page);
    ASSERT_TRUE(site.wait_for_workers(1)) << "the search did not finish within 20 s";
  }
  // Only the two steps that went ahead asked for a page.
  EXPECT_EQ(pages_asked(site.server()), (std::vector<int>{1, 0}));
}

TEST(SearchCommands, SearchAsksForTheBoxNumbersWholePartAndLeavesTheBox) {
  const struct {
    const wchar_t* box;
    int page;
  } cases[] = {{L"3", 3}, {L"2.9", 2}, {L"-2.9", -2}, {L"abc", 0}, {L"4294967297", 1}, {L"１２", 12}};
  SearchSiteFixture site;
  std::vector<int> expected_pages;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.box)));
    prepare(L"abc", c.box);
    click(Control::SearchButton);
    EXPECT_EQ(wide_control_text(Control::PageBox), c.box);
    EXPECT_EQ(page_counter, c.page);
    ASSERT_TRUE(site.wait_for_workers(1)) << "the search did not finish within 20 s";
    expected_pages.push_back(c.page);
  }
  EXPECT_EQ(pages_asked(site.server()), expected_pages);
}

TEST(SearchCommands, AnEmptyKeywordIsRefusedWithAMessageAndTheFocusGoesBack) {
  SearchSiteFixture site;
  set_text(Control::KeywordBox, L"");
  set_text(Control::PageBox, L"5");
  page_counter = 5;
  const unsigned finished = finished_search_worker_count();
  for (Control button : {Control::SearchButton, Control::NextPage, Control::PreviousPage}) {
    SCOPED_TRACE(static_cast<int>(button));
    SetFocus(control_handle(Control::PageBox));
    MessageBoxAnswerer answerer({IDOK});
    click(button);
    ASSERT_TRUE(pump_until([&] { return answerer.answered() == 1; })) << "no message within 10 s";
    EXPECT_EQ(answerer.seen()[0].title, L"提示");
    EXPECT_EQ(answerer.seen()[0].text, L"请输入要搜索的内容");
    EXPECT_TRUE(pump_until([] { return GetFocus() == control_handle(Control::KeywordBox); }, 2000))
        << "the focus is on " << GetFocus();
    EXPECT_EQ(wide_control_text(Control::PageBox), L"5");
    EXPECT_EQ(page_counter, 5);
  }
  // One search that goes ahead, to the server and back: a worker started by
  // a refused click would have asked before it or with it.
  prepare(L"abc", L"1");
  click(Control::SearchButton);
  ASSERT_TRUE(site.wait_for_workers(1)) << "the search did not finish within 20 s";
  EXPECT_EQ(finished_search_worker_count(), finished + 1);
  ASSERT_EQ(site.server().request_count(), 1u);
  EXPECT_EQ(site.server().requests()[0].target, "/search/abc_ctime_1.html");
}

TEST(SearchCommands, ABlankIsAKeyword) {
  SearchSiteFixture site;
  prepare(L" ", L"1");
  click(Control::SearchButton);
  ASSERT_TRUE(site.wait_for_workers(1)) << "the search did not finish within 20 s";
  ASSERT_EQ(site.server().request_count(), 1u);
}

TEST(SearchCommands, EnterInTheKeywordBoxSearchesAndAnEmptyBoxIsRefused) {
  SearchSiteFixture site;
  // Right after start-up: the page box shows 1.
  set_text(Control::KeywordBox, L"abc");
  press_enter_in_keyword_box();
  ASSERT_TRUE(site.wait_for_workers(1)) << "the search did not finish within 20 s";
  ASSERT_EQ(site.server().request_count(), 1u);
  EXPECT_EQ(site.server().requests()[0].target, "/search/abc_ctime_1.html");
  EXPECT_EQ(wide_control_text(Control::KeywordBox), L"abc");

  // Alt+Enter searches as well.
  press_enter_in_keyword_box(true);
  ASSERT_TRUE(site.wait_for_workers(1)) << "the search did not finish within 20 s";
  ASSERT_EQ(site.server().request_count(), 2u);
  EXPECT_EQ(site.server().requests()[1].target, "/search/abc_ctime_1.html");

  set_text(Control::KeywordBox, L"");
  {
    MessageBoxAnswerer answerer({IDOK});
    press_enter_in_keyword_box();
    ASSERT_TRUE(pump_until([&] { return answerer.answered() == 1; })) << "no message within 10 s";
    EXPECT_EQ(answerer.seen()[0].text, L"请输入要搜索的内容");
  }
  // The message puts the focus on the keyword box.
  EXPECT_TRUE(pump_until([] { return GetFocus() == control_handle(Control::KeywordBox); }, 2000))
      << "the focus is on " << GetFocus();
  // A search that goes ahead, to the server and back: it is the only one
  // asked for since the refused Enter, and its Chinese keyword goes out as
  // code page 936 bytes.
  set_text(Control::KeywordBox, L"纪录片");
  press_enter_in_keyword_box();
  ASSERT_TRUE(site.wait_for_workers(1)) << "the search did not finish within 20 s";
  ASSERT_EQ(site.server().request_count(), 3u);
  EXPECT_EQ(site.server().requests()[2].target, "/search/\xBC\xCD\xC2\xBC\xC6\xAC_ctime_1.html");
}

TEST(SearchCommands, EditingTheKeywordPutsOneIntoThePageBoxButNotIntoThePageCounter) {
  SearchSiteFixture site;
  prepare(L"abc", L"3");
  click(Control::SearchButton);
  ASSERT_TRUE(site.wait_for_workers(1)) << "the search did not finish within 20 s";
  EXPECT_EQ(wide_control_text(Control::PageBox), L"3");
  // Typing one more character.
  SendMessageW(control_handle(Control::KeywordBox), EM_SETSEL, 3, 3);
  SendMessageW(control_handle(Control::KeywordBox), WM_CHAR, 'd', 1);
  EXPECT_EQ(wide_control_text(Control::KeywordBox), L"abcd");
  EXPECT_EQ(wide_control_text(Control::PageBox), L"1");
  EXPECT_EQ(page_counter, 3);
  click(Control::SearchButton);
  ASSERT_TRUE(site.wait_for_workers(1)) << "the search did not finish within 20 s";
  EXPECT_EQ(site.server().requests().back().target, "/search/abcd_ctime_1.html");
}

TEST(SearchCommands, QuickNextPageClicksRunWorkersTogetherForSuccessivePages) {
  SearchSiteFixture site;
  site.server().set_answer_delay(300);
  prepare(L"abc", L"1");
  const Text collected_before = collected_text();
  click(Control::NextPage);
  click(Control::NextPage);
  click(Control::NextPage);
  EXPECT_EQ(wide_control_text(Control::PageBox), L"4");
  EXPECT_EQ(page_counter, 4);
  ASSERT_TRUE(site.wait_for_workers(3)) << "the three searches did not finish within 20 s";

  std::vector<int> pages = pages_asked(site.server());
  std::sort(pages.begin(), pages.end());
  EXPECT_EQ(pages, (std::vector<int>{2, 3, 4}));
  // Every worker cleared the list before any answer came: all six hits show,
  // numbered down the list, each page's hits in page order.
  ASSERT_EQ(list_rows(), 6);
  for (int row = 0; row < 6; ++row) EXPECT_EQ(wide_list_cell(row, kColNumber), std::to_wstring(row + 1));
  EXPECT_EQ(wide_control_text(Control::StatusLabel), L"搜索完毕共获取【6】条信息");
  // The collected text gained the three pages' six records, each whole, each
  // page's two in page order; the pages' hits may come in between each other.
  const Text gained = collected_text().substr(collected_before.size());
  const Text records[] = {
      "片名 abc 纪录片 第2页 第1条创建日期:2019-03-11  文件大小:1.31 GB\r\n"
      "磁力链接 magnet:?xt=urn:btih:0000000200000001c0ffee00c0ffee00c0ffee00&xl\r\n"
      "迅雷链接 magnet:?xt=urn:btih:0000000200000001c0ffee00c0ffee00c0ffee00&xl\r\n",
      "片名 abc 纪录片 第2页 第2条创建日期:2019-03-12  文件大小:1.32 GB\r\n"
      "磁力链接 magnet:?xt=urn:btih:0000000200000002c0ffee00c0ffee00c0ffee00&xl\r\n"
      "迅雷链接 magnet:?xt=urn:btih:0000000200000002c0ffee00c0ffee00c0ffee00&xl\r\n",
      "片名 abc 纪录片 第3页 第1条创建日期:2019-03-11  文件大小:1.31 GB\r\n"
      "磁力链接 magnet:?xt=urn:btih:0000000300000001c0ffee00c0ffee00c0ffee00&xl\r\n"
      "迅雷链接 magnet:?xt=urn:btih:0000000300000001c0ffee00c0ffee00c0ffee00&xl\r\n",
      "片名 abc 纪录片 第3页 第2条创建日期:2019-03-12  文件大小:1.32 GB\r\n"
      "磁力链接 magnet:?xt=urn:btih:0000000300000002c0ffee00c0ffee00c0ffee00&xl\r\n"
      "迅雷链接 magnet:?xt=urn:btih:0000000300000002c0ffee00c0ffee00c0ffee00&xl\r\n",
      "片名 abc 纪录片 第4页 第1条创建日期:2019-03-11  文件大小:1.31 GB\r\n"
      "磁力链接 magnet:?xt=urn:btih:0000000400000001c0ffee00c0ffee00c0ffee00&xl\r\n"
      "迅雷链接 magnet:?xt=urn:btih:0000000400000001c0ffee00c0ffee00c0ffee00&xl\r\n",
      "片名 abc 纪录片 第4页 第2条创建日期:2019-03-12  文件大小:1.32 GB\r\n"
      "磁力链接 magnet:?xt=urn:btih:0000000400000002c0ffee00c0ffee00c0ffee00&xl\r\n"
      "迅雷链接 magnet:?xt=urn:btih:0000000400000002c0ffee00c0ffee00c0ffee00&xl\r\n",
  };
  size_t total = 0;
  for (size_t i = 0; i < std::size(records); i += 2) {
    SCOPED_TRACE(i);
    const size_t first = gained.find(records[i]), second = gained.find(records[i + 1]);
    EXPECT_NE(first, Text::npos);
    EXPECT_NE(second, Text::npos);
    EXPECT_LT(first, second);
    total += records[i].size() + records[i + 1].size();
  }
  EXPECT_EQ(gained.size(), total);
}

}  // namespace
