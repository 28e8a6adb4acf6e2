#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_window_win32.h"
#include "app/program_state.h"
#include "tests/win/search_test_support.h"
#include "tests/win/window_test_support.h"
#include "win32/wide_text_win32.h"

namespace {

void click(Control button) { SendMessageW(control_handle(button), BM_CLICK, 0, 0); }

void set_text(Control c, const Text& text) { SetWindowTextW(control_handle(c), to_wide(text).c_str()); }

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
void prepare(const Text& keyword, const Text& page_box) {
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
    Text box;
    Text after;
    int page;
  } cases[] = {
      {"1", "2", 2},   {"2.5", "3.5", 3}, {"abc", "1", 1}, {"", "1", 1},
      {"３", "4", 4},  {"-5", "-4", -4},  {"4294967295", "4294967296", 0},
  };
  SearchSiteFixture site;
  std::vector<int> expected_pages;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box);
    prepare("abc", c.box);
    click(Control::NextPage);
    EXPECT_EQ(control_text(Control::PageBox), c.after);
    EXPECT_EQ(page_counter, c.page);
    ASSERT_TRUE(site.wait_for_workers(1));
    expected_pages.push_back(c.page);
  }
  EXPECT_EQ(pages_asked(site.server()), expected_pages);
}

TEST(SearchCommands, PreviousPageStepsBackOnlyWhileTheNumberStaysAboveZero) {
  SearchSiteFixture site;
  for (const Text box : {"1", "0", "1.00000001", "abc"}) {
    SCOPED_TRACE(box);
    prepare("abc", box);
    page_counter = 77;
    click(Control::PreviousPage);
    EXPECT_EQ(control_text(Control::PageBox), box);
    EXPECT_EQ(page_counter, 77);
  }
  const struct {
    Text box;
    Text after;
    int page;
  } cases[] = {{"2", "1", 1}, {"1.5", "0.5", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box);
    prepare("abc", c.box);
    click(Control::PreviousPage);
    EXPECT_EQ(control_text(Control::PageBox), c.after);
    EXPECT_EQ(page_counter, c.page);
    ASSERT_TRUE(site.wait_for_workers(1));
  }
  // Only the two steps that went ahead asked for a page.
  EXPECT_EQ(pages_asked(site.server()), (std::vector<int>{1, 0}));
}

TEST(SearchCommands, SearchAsksForTheBoxNumbersWholePartAndLeavesTheBox) {
  const struct {
    Text box;
    int page;
  } cases[] = {{"3", 3}, {"2.9", 2}, {"-2.9", -2}, {"abc", 0}, {"4294967297", 1}, {"１２", 12}};
  SearchSiteFixture site;
  std::vector<int> expected_pages;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box);
    prepare("abc", c.box);
    click(Control::SearchButton);
    EXPECT_EQ(control_text(Control::PageBox), c.box);
    EXPECT_EQ(page_counter, c.page);
    ASSERT_TRUE(site.wait_for_workers(1));
    expected_pages.push_back(c.page);
  }
  EXPECT_EQ(pages_asked(site.server()), expected_pages);
}

TEST(SearchCommands, AnEmptyKeywordIsRefusedWithAMessageAndTheFocusGoesBack) {
  SearchSiteFixture site;
  set_text(Control::KeywordBox, "");
  set_text(Control::PageBox, "5");
  page_counter = 5;
  const unsigned finished = finished_search_worker_count();
  for (Control button : {Control::SearchButton, Control::NextPage, Control::PreviousPage}) {
    SCOPED_TRACE(static_cast<int>(button));
    SetFocus(control_handle(Control::PageBox));
    MessageBoxAnswerer answerer({IDOK});
    click(button);
    ASSERT_TRUE(pump_until([&] { return answerer.answered() == 1; }));
    EXPECT_EQ(answerer.seen()[0].title, to_wide("提示"));
    EXPECT_EQ(answerer.seen()[0].text, to_wide("请输入要搜索的内容"));
    pump_messages(20);
    EXPECT_EQ(GetFocus(), control_handle(Control::KeywordBox));
    EXPECT_EQ(control_text(Control::PageBox), "5");
    EXPECT_EQ(page_counter, 5);
  }
  pump_messages(100);
  EXPECT_EQ(finished_search_worker_count(), finished);
  EXPECT_EQ(site.server().request_count(), 0u);
}

TEST(SearchCommands, ABlankIsAKeyword) {
  SearchSiteFixture site;
  prepare(" ", "1");
  click(Control::SearchButton);
  ASSERT_TRUE(site.wait_for_workers(1));
  ASSERT_EQ(site.server().request_count(), 1u);
}

TEST(SearchCommands, EnterInTheKeywordBoxSearchesAndAnEmptyBoxIsRefused) {
  SearchSiteFixture site;
  // Right after start-up: the page box shows 1.
  set_text(Control::KeywordBox, "abc");
  press_enter_in_keyword_box();
  ASSERT_TRUE(site.wait_for_workers(1));
  ASSERT_EQ(site.server().request_count(), 1u);
  EXPECT_EQ(site.server().requests()[0].target, "/search/abc_ctime_1.html");
  EXPECT_EQ(control_text(Control::KeywordBox), "abc");

  // Alt+Enter searches as well.
  press_enter_in_keyword_box(true);
  ASSERT_TRUE(site.wait_for_workers(1));
  ASSERT_EQ(site.server().request_count(), 2u);
  EXPECT_EQ(site.server().requests()[1].target, "/search/abc_ctime_1.html");

  set_text(Control::KeywordBox, "");
  MessageBoxAnswerer answerer({IDOK});
  press_enter_in_keyword_box();
  ASSERT_TRUE(pump_until([&] { return answerer.answered() == 1; }));
  EXPECT_EQ(answerer.seen()[0].text, to_wide("请输入要搜索的内容"));
  pump_messages(50);
  EXPECT_EQ(site.server().request_count(), 2u);
  // The message puts the focus on the keyword box.
  EXPECT_TRUE(pump_until([] { return GetFocus() == control_handle(Control::KeywordBox); }, 2000));
}

TEST(SearchCommands, EditingTheKeywordPutsOneIntoThePageBoxButNotIntoThePageCounter) {
  SearchSiteFixture site;
  prepare("abc", "3");
  click(Control::SearchButton);
  ASSERT_TRUE(site.wait_for_workers(1));
  EXPECT_EQ(control_text(Control::PageBox), "3");
  // Typing one more character.
  SendMessageW(control_handle(Control::KeywordBox), EM_SETSEL, 3, 3);
  SendMessageW(control_handle(Control::KeywordBox), WM_CHAR, 'd', 1);
  EXPECT_EQ(control_text(Control::KeywordBox), "abcd");
  EXPECT_EQ(control_text(Control::PageBox), "1");
  EXPECT_EQ(page_counter, 3);
  click(Control::SearchButton);
  ASSERT_TRUE(site.wait_for_workers(1));
  EXPECT_EQ(site.server().requests().back().target, "/search/abcd_ctime_1.html");
}

TEST(SearchCommands, QuickNextPageClicksRunWorkersTogetherForSuccessivePages) {
  SearchSiteFixture site;
  site.server().set_answer_delay(300);
  prepare("abc", "1");
  const Text collected_before = collected_text();
  click(Control::NextPage);
  click(Control::NextPage);
  click(Control::NextPage);
  EXPECT_EQ(control_text(Control::PageBox), "4");
  EXPECT_EQ(page_counter, 4);
  ASSERT_TRUE(site.wait_for_workers(3));

  std::vector<int> pages = pages_asked(site.server());
  std::sort(pages.begin(), pages.end());
  EXPECT_EQ(pages, (std::vector<int>{2, 3, 4}));
  // Every worker cleared the list before any answer came: all six hits show,
  // numbered down the list, each page's hits in page order.
  ASSERT_EQ(list_rows(), 6);
  for (int row = 0; row < 6; ++row) EXPECT_EQ(list_cell(row, kColNumber), std::to_string(row + 1));
  EXPECT_EQ(control_text(Control::StatusLabel), "搜索完毕共获取【6】条信息");
  // The collected text gained the three pages' records, each whole.
  const Text gained = collected_text().substr(collected_before.size());
  Text expected_any_order;
  size_t matched = 0;
  for (int page = 2; page <= 4; ++page) {
    const auto hits = fixture_hits(page);
    const Text records = hits[0].record() + hits[1].record();
    if (gained.find(hits[0].record()) != Text::npos && gained.find(hits[1].record()) != Text::npos) ++matched;
    expected_any_order += records;
  }
  EXPECT_EQ(matched, 3u);
  EXPECT_EQ(gained.size(), expected_any_order.size());
}

}  // namespace
