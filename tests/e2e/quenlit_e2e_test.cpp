// The real program, started as a user would start it, with a quenlit.ini that
// points it at a search site inside this test, and driven from outside.
// Expected texts are literals: wide ones for what the window shows, narrow
// ones (compiled into code page 936) for the bytes of the export file.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/e2e/program_under_test.h"
#include "tests/win/fixture_http_server.h"
#include "tests/win/fixture_pages.h"

namespace {

// Wine starts a program in a second or two; a search of the fixture site
// takes well under a second.
constexpr int kStartLimitMs = 30000;
constexpr int kStepLimitMs = 15000;

const std::wstring kCaption = L"Quenlit BY：Dolventh";
const std::wstring kDone = L"搜索完毕共获取【2】条信息";

// The build's default site, "http://" + QUENLIT_SEARCH_HOST (an ASCII host).
std::wstring default_site() {
  const std::string host = QUENLIT_SEARCH_HOST;
  return L"http://" + std::wstring(host.begin(), host.end());
}

std::string settings_for(const FixtureHttpServer& site) { return "[site]\r\naddress=" + site.host() + "\r\n"; }

// The main window's controls, found by class and place or by their text.
struct MainWindow {
  HWND window = nullptr;
  HWND keyword = nullptr, page = nullptr, status = nullptr, list = nullptr;
  HWND search = nullptr, next = nullptr, previous = nullptr;

  MainWindow() = default;
  explicit MainWindow(HWND main) : window(main) {
    keyword = child_at(main, L"Edit", 8, 5);
    page = child_at(main, L"Edit", 30, 294);
    status = child_at(main, L"Static", 218, 297);
    list = child_at(main, L"SysListView32", 0, 37);
    search = child_with_text(main, L"Button", L"搜索");
    next = child_with_text(main, L"Button", L"下一页");
    previous = child_with_text(main, L"Button", L"上一页");
  }
  bool complete() const { return keyword && page && status && list && search && next && previous; }
};

struct Row {
  std::wstring number, title, size, date, popularity;
};

void expect_rows(const RemoteList& list, const Row (&rows)[2]) {
  ASSERT_EQ(list.rows(), 2);
  for (int r = 0; r < 2; ++r) {
    SCOPED_TRACE(r);
    EXPECT_EQ(list.cell(r, 0), rows[r].number);
    EXPECT_EQ(list.cell(r, 1), rows[r].title);
    EXPECT_EQ(list.cell(r, 2), rows[r].size);
    EXPECT_EQ(list.cell(r, 3), rows[r].date);
    EXPECT_EQ(list.cell(r, 4), rows[r].popularity);
  }
}

// Answers the program's next message box with `button` once it has shown
// `title` and `text`.
void answer_message_box(ProgramUnderTest& program, const std::wstring& title, const std::wstring& text, int button) {
  HWND box = program.wait_for_message_box(kStepLimitMs);
  ASSERT_NE(box, nullptr) << "no message box came";
  EXPECT_EQ(text_of(box), title);
  EXPECT_EQ(message_box_text(box), text);
  ASSERT_TRUE(press_button(box, button));
  ASSERT_TRUE(wait_until([&] { return !IsWindow(box); }, kStepLimitMs)) << "the message box did not close";
}

void close_answering_yes(ProgramUnderTest& program, HWND window) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_NO_FATAL_FAILURE(answer_message_box(program, kCaption, L"是否退出？", IDYES));
  DWORD code = 12345;
  ASSERT_TRUE(program.wait_for_exit(kStepLimitMs, &code)) << "the program did not end after Yes";
  EXPECT_EQ(code, 0u);
}

// The program started with a quenlit.ini that points it at this test's
// site, its main window shown and its controls found.
class ProgramOnTestSite : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(site.listening());
    started = std::make_unique<ProgramUnderTest>(settings_for(site));
    ASSERT_EQ(started->problem(), L"");
    main = started->wait_for_window(kCaption, kStartLimitMs);
    ASSERT_NE(main, nullptr) << "the main window did not show";
    ui = MainWindow(main);
    ASSERT_TRUE(ui.complete()) << "a control is missing";
  }

  FixtureHttpServer site{serve_fixture_pages};
  std::unique_ptr<ProgramUnderTest> started;
  HWND main = nullptr;
  MainWindow ui;
};

TEST_F(ProgramOnTestSite, SearchesPagesCopiesAHashExportsAndCloses) {
  ProgramUnderTest& program = *started;
  EXPECT_EQ(text_of(ui.page), L"1");
  EXPECT_EQ(text_of(ui.status), L"多次点击下一页可批量搜索");
  const RemoteList list(program.process(), ui.list);

  // Type a keyword and click 搜索.
  SendMessageW(ui.keyword, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc"));
  PostMessageW(ui.search, BM_CLICK, 0, 0);
  ASSERT_TRUE(wait_until([&] { return site.request_count() == 1 && text_of(ui.status) == kDone; }, kStepLimitMs))
      << "status: " << testing::PrintToString(text_of(ui.status));
  EXPECT_EQ(site.requests()[0].target, "/search/abc_ctime_1.html");
  const Row page1[2] = {{L"1", L"abc 纪录片 第1页 第1条", L"1.31 GB", L"2019-03-11", L"101"},
                        {L"2", L"abc 纪录片 第1页 第2条", L"1.32 GB", L"2019-03-12", L"102"}};
  ASSERT_NO_FATAL_FAILURE(expect_rows(list, page1));
  EXPECT_EQ(text_of(ui.page), L"1");

  // 下一页: the page box says 2 and the list holds page 2.
  PostMessageW(ui.next, BM_CLICK, 0, 0);
  ASSERT_TRUE(wait_until(
      [&] {
        return site.request_count() == 2 && text_of(ui.status) == kDone && list.rows() == 2 &&
               list.cell(1, 1) == L"abc 纪录片 第2页 第2条";
      },
      kStepLimitMs))
      << "status: " << testing::PrintToString(text_of(ui.status));
  EXPECT_EQ(site.requests()[1].target, "/search/abc_ctime_2.html");
  EXPECT_EQ(text_of(ui.page), L"2");
  const Row page2[2] = {{L"1", L"abc 纪录片 第2页 第1条", L"1.31 GB", L"2019-03-11", L"201"},
                        {L"2", L"abc 纪录片 第2页 第2条", L"1.32 GB", L"2019-03-12", L"202"}};
  ASSERT_NO_FATAL_FAILURE(expect_rows(list, page2));

  // A double-click on the second row copies its info-hash.
  ASSERT_TRUE(empty_clipboard());
  const RECT second = list.row_bounds(1);
  ASSERT_GT(second.bottom, second.top) << "the second row has no place";
  double_click(ui.list, second.left + 60, (second.top + second.bottom) / 2);
  std::wstring copied;
  EXPECT_TRUE(wait_until([&] { return clipboard_text(&copied) && !copied.empty(); }, kStepLimitMs))
      << "nothing reached the clipboard";
  EXPECT_EQ(copied, L"0000000200000002c0ffee00c0ffee00c0ffee00");

  // The list's popup menu, its last item (全部导出), chosen with the keys.
  right_button_down(ui.list, second.left + 60, (second.top + second.bottom) / 2);
  HWND menu = nullptr;
  ASSERT_TRUE(wait_until([&] { return (menu = program.find_top_level(L"#32768")) != nullptr; }, kStepLimitMs))
      << "the popup menu did not show";
  press_key(menu, VK_UP);
  press_key(menu, VK_RETURN);
  ASSERT_NO_FATAL_FAILURE(answer_message_box(program, L"提示", L"写出成功！是否立即查看？", IDNO));
  right_button_up(ui.list, second.left + 60, (second.top + second.bottom) / 2);
  std::string exported;
  ASSERT_TRUE(program.read_file(L"种子文本.txt", &exported)) << "no export file";
  EXPECT_EQ(exported,
            "片名 abc 纪录片 第1页 第1条创建日期:2019-03-11  文件大小:1.31 GB\r\n"
            "磁力链接 magnet:?xt=urn:btih:0000000100000001c0ffee00c0ffee00c0ffee00&xl\r\n"
            "迅雷链接 magnet:?xt=urn:btih:0000000100000001c0ffee00c0ffee00c0ffee00&xl\r\n"
            "片名 abc 纪录片 第1页 第2条创建日期:2019-03-12  文件大小:1.32 GB\r\n"
            "磁力链接 magnet:?xt=urn:btih:0000000100000002c0ffee00c0ffee00c0ffee00&xl\r\n"
            "迅雷链接 magnet:?xt=urn:btih:0000000100000002c0ffee00c0ffee00c0ffee00&xl\r\n"
            "片名 abc 纪录片 第2页 第1条创建日期:2019-03-11  文件大小:1.31 GB\r\n"
            "磁力链接 magnet:?xt=urn:btih:0000000200000001c0ffee00c0ffee00c0ffee00&xl\r\n"
            "迅雷链接 magnet:?xt=urn:btih:0000000200000001c0ffee00c0ffee00c0ffee00&xl\r\n"
            "片名 abc 纪录片 第2页 第2条创建日期:2019-03-12  文件大小:1.32 GB\r\n"
            "磁力链接 magnet:?xt=urn:btih:0000000200000002c0ffee00c0ffee00c0ffee00&xl\r\n"
            "迅雷链接 magnet:?xt=urn:btih:0000000200000002c0ffee00c0ffee00c0ffee00&xl\r\n");

  ASSERT_NO_FATAL_FAILURE(close_answering_yes(program, main));
}

TEST_F(ProgramOnTestSite, CloseAnsweredNoKeepsTheWindowAndGivesTheFocusBack) {
  ProgramUnderTest& program = *started;

  // Click into the page box, then Esc there.
  click(ui.page, 5, 5);
  ASSERT_TRUE(wait_until([&] { return focus_of_thread(main) == ui.page; }, kStepLimitMs))
      << "the page box did not take the focus";
  press_key(ui.page, VK_ESCAPE);
  ASSERT_NO_FATAL_FAILURE(answer_message_box(program, kCaption, L"是否退出？", IDNO));
  DWORD code = 0;
  EXPECT_FALSE(program.wait_for_exit(500, &code)) << "the program ended after No";
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_EQ(text_of(ui.page), L"1");
  // The focus goes back to the control that had it when the question came.
  EXPECT_TRUE(wait_until([&] { return focus_of_thread(main) == ui.page; }, 3000))
      << "the focus did not come back to the page box after No; it is on a window of class "
      << testing::PrintToString(class_of(focus_of_thread(main)));

  ASSERT_NO_FATAL_FAILURE(close_answering_yes(program, main));
}

TEST(ProgramWithBadSettings, AMalformedSettingsFileIsReportedOnceAndTheProgramGoesOn) {
  ProgramUnderTest program("[site]\r\naddress=127.0.0.1:99999\r\n");
  ASSERT_EQ(program.problem(), L"");
  HWND box = program.wait_for_message_box(kStartLimitMs);
  ASSERT_NE(box, nullptr) << "no message about the settings file";
  EXPECT_EQ(text_of(box), L"提示");
  EXPECT_EQ(message_box_text(box), L"设置文件 " + program.folder() +
                                       L"quenlit.ini 有误：\r\n第 2 行：地址“127.0.0.1:99999”的端口“99999”不是 1 到 "
                                       L"65535 之间的数。\r\n\r\n这次将使用默认的搜索网站 " +
                                       default_site() + L"。");
  ASSERT_TRUE(press_button(box, IDOK));
  HWND main = program.wait_for_window(kCaption, kStartLimitMs);
  ASSERT_NE(main, nullptr) << "the main window did not show after the message";
  EXPECT_EQ(program.find_top_level(L"#32770"), nullptr) << "a second message came";
  ASSERT_NO_FATAL_FAILURE(close_answering_yes(program, main));
}

}  // namespace
