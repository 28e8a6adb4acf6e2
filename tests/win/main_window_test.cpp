#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/main_window_win32.h"
#include "win32/list_cells_win32.h"
#include "app/program_state.h"
#include "tests/win/window_test_support.h"

namespace {

RECT client_rect_of(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST(MainWindow, OpensCentredOnTheScreenWithAFixedFrame) {
  MainWindowFixture fixture;
  ASSERT_TRUE(fixture.window());
  RECT r;
  GetWindowRect(fixture.window(), &r);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 629) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 356) / 2);
  EXPECT_EQ(r.right - r.left, 629);
  EXPECT_EQ(r.bottom - r.top, 356);
  if (GetSystemMetrics(SM_CXSCREEN) == 1024 && GetSystemMetrics(SM_CYSCREEN) == 768) {
    EXPECT_EQ(r.left, 197);
    EXPECT_EQ(r.top, 206);
  }
  const LONG style = GetWindowLongW(fixture.window(), GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_EQ(wide_window_text(fixture.window()), L"Quenlit BY：Dolventh");
  EXPECT_TRUE(GetMenu(fixture.window()) == nullptr);
}

struct ExpectedControl {
  Control control;
  const wchar_t* window_class;
  int x, y, width, height;
  const wchar_t* text;
  bool visible;
};

TEST(MainWindow, ControlsHaveTheirPlacesSizesTextsAndVisibility) {
  MainWindowFixture fixture;
  ASSERT_TRUE(fixture.window());
  const ExpectedControl expected[] = {
      {Control::StatusLabel, L"Static", 218, 297, 182, 16, L"多次点击下一页可批量搜索", true},
      {Control::PageUnitLabel, L"Static", 70, 297, 17, 15, L"页", true},
      {Control::PagePrefixLabel, L"Static", 5, 297, 19, 15, L" 第", true},
      {Control::NextPage, L"Button", 540, 293, 72, 20, L"下一页", true},
      {Control::PreviousPage, L"Button", 459, 293, 72, 20, L"上一页", true},
      {Control::PageBox, L"Edit", 30, 294, 34, -18, L"1", true},
      {Control::SearchButton, L"Button", 486, 6, 130, 27, L"搜索", true},
      {Control::KeywordBox, L"Edit", 8, 5, 464, -27, L"", true},
      {Control::ResultList, L"SysListView32", 0, 37, 632, 251, L"", true},
  };
  HWND previous = nullptr;
  for (const ExpectedControl& e : expected) {
    SCOPED_TRACE(static_cast<int>(e.control));
    HWND child = control_handle(e.control);
    ASSERT_TRUE(child);
    wchar_t cls[64] = {};
    GetClassNameW(child, cls, 64);
    EXPECT_STREQ(cls, e.window_class);
    const RECT r = client_rect_of(child);
    EXPECT_EQ(r.left, e.x);
    EXPECT_EQ(r.top, e.y);
    EXPECT_EQ(r.right - r.left, e.width);
    // A negative height is a single-line box's least height: it grows with its font.
    if (e.height < 0) {
      EXPECT_GE(r.bottom - r.top, -e.height);
    } else {
      EXPECT_EQ(r.bottom - r.top, e.height);
    }
    EXPECT_EQ(wide_window_text(child), e.text);
    EXPECT_EQ(IsWindowVisible(child) != FALSE, e.visible);
    EXPECT_TRUE(IsWindowEnabled(child));
    // Created in table order: each follows the one before in the window's child order.
    if (previous) {
      EXPECT_EQ(GetWindow(previous, GW_HWNDNEXT), child);
    }
    previous = child;
  }
}

TEST(MainWindow, ControlStylesAndFonts) {
  MainWindowFixture fixture;
  ASSERT_TRUE(fixture.window());
  auto style = [](Control c) { return GetWindowLongW(control_handle(c), GWL_STYLE); };
  auto ex_style = [](Control c) { return GetWindowLongW(control_handle(c), GWL_EXSTYLE); };
  EXPECT_TRUE(style(Control::PageBox) & ES_CENTER);
  EXPECT_TRUE(style(Control::KeywordBox) & ES_AUTOHSCROLL);
  for (Control c : {Control::PageBox, Control::KeywordBox, Control::ResultList}) {
    EXPECT_TRUE(ex_style(c) & WS_EX_CLIENTEDGE);
  }
  EXPECT_TRUE(style(Control::ResultList) & LVS_REPORT);
  EXPECT_TRUE(style(Control::ResultList) & LVS_SINGLESEL);
  const DWORD list_ex = static_cast<DWORD>(
      SendMessageW(control_handle(Control::ResultList), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_TRUE(list_ex & LVS_EX_FULLROWSELECT);
  EXPECT_TRUE(list_ex & LVS_EX_GRIDLINES);
  EXPECT_FALSE(list_ex & LVS_EX_CHECKBOXES);
  for (Control c : {Control::NextPage, Control::PreviousPage, Control::SearchButton}) {
    EXPECT_FALSE(style(c) & BS_DEFPUSHBUTTON);
  }
  // The search button and the list share the 14-pixel font.
  HFONT px14 = reinterpret_cast<HFONT>(SendMessageW(control_handle(Control::SearchButton), WM_GETFONT, 0, 0));
  ASSERT_TRUE(px14);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control_handle(Control::ResultList), WM_GETFONT, 0, 0)), px14);
  LOGFONTW font{};
  GetObjectW(px14, sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -14);
  EXPECT_EQ(font.lfWeight, FW_NORMAL);
  EXPECT_EQ(font.lfQuality, PROOF_QUALITY);
  HFONT gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (Control c : {Control::StatusLabel, Control::PageBox, Control::KeywordBox, Control::NextPage}) {
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control_handle(c), WM_GETFONT, 0, 0)), gui);
  }
}

TEST(MainWindow, ResultListHasSevenColumnsAndNoRows) {
  MainWindowFixture fixture;
  HWND list = control_handle(Control::ResultList);
  ASSERT_TRUE(list);
  const struct {
    const wchar_t* title;
    int width;
    int format;
  } expected[] = {{L"序", 30, LVCFMT_LEFT},    {L"片名", 355, LVCFMT_LEFT}, {L"大小", 80, LVCFMT_CENTER},
                  {L"日期", 100, LVCFMT_CENTER}, {L"热度", 50, LVCFMT_CENTER}, {L"磁", 0, LVCFMT_LEFT},
                  {L"迅", 0, LVCFMT_LEFT}};
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 7);
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    wchar_t title[32] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.pszText = title;
    column.cchTextMax = 32;
    ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)));
    EXPECT_EQ(std::wstring(title), expected[i].title);
    EXPECT_EQ(column.cx, expected[i].width);
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, expected[i].format);
  }
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), -1);
}

TEST(MainWindow, ResultMenuHasThreeCommandsAndTwoSeparators) {
  HMENU menu = build_result_menu();
  ASSERT_TRUE(menu);
  ASSERT_EQ(GetMenuItemCount(menu), 5);
  const wchar_t* texts[] = {L"磁力下载", nullptr, L"复制磁力", nullptr, L"全部导出"};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    MENUITEMINFOW info{};
    wchar_t text[32] = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 32;
    ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &info));
    if (!texts[i]) {
      EXPECT_TRUE(info.fType & MFT_SEPARATOR);
      continue;
    }
    EXPECT_EQ(std::wstring(text), texts[i]);
    EXPECT_FALSE(info.fState & (MFS_DISABLED | MFS_CHECKED));
  }
  DestroyMenu(menu);
}

TEST(StartUp, PageBoxShowsOneAndPageCounterIsOne) {
  page_counter = 0;
  MainWindowFixture fixture;
  EXPECT_EQ(page_counter, 1);
  EXPECT_EQ(wide_control_text(Control::PageBox), L"1");
}

TEST(Close, AnsweringNoKeepsTheWindowAndYesDestroysIt) {
  MainWindowFixture fixture;
  HWND window = fixture.window();
  SetWindowTextW(control_handle(Control::KeywordBox), L"abc");
  const std::vector<SeenMessageBox> question = request_close(window, IDNO);
  ASSERT_EQ(question.size(), 1u);
  EXPECT_EQ(question[0].title, L"Quenlit BY：Dolventh");
  EXPECT_EQ(question[0].text, L"是否退出？");
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(wide_window_text(control_handle(Control::KeywordBox)), L"abc");
  ASSERT_EQ(request_close(window, IDYES).size(), 1u);
  pump_messages(20);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(main_window(), nullptr);
}

TEST(Close, EscInAnyControlAsksAndTheLoopEndsOnYes) {
  MainWindowFixture fixture;
  HWND window = fixture.window();
  // Esc in the keyword box (answered No), then in the list (answered Yes).
  MessageBoxAnswerer answerer({IDNO, IDYES});
  PostMessageW(control_handle(Control::KeywordBox), WM_KEYDOWN, VK_ESCAPE, 0);
  const DWORD loop_thread = GetCurrentThreadId();
  std::atomic<bool> loop_ended{false}, first_box_closed{false}, gave_up{false};
  // The second Esc goes in once the first question has gone, so that the
  // window's own loop, not the box's, receives it. Should the loop not end
  // in time, it is told to quit, and the test fails instead of hanging.
  std::thread second_press([&] {
    const DWORD until = GetTickCount() + 20000;
    auto time_left = [&] { return static_cast<int>(until - GetTickCount()) > 0; };
    while (answerer.closed() < 1 && time_left()) Sleep(5);
    first_box_closed = answerer.closed() >= 1;
    if (first_box_closed) PostMessageW(control_handle(Control::ResultList), WM_KEYDOWN, VK_ESCAPE, 0);
    while (!loop_ended && time_left()) Sleep(5);
    if (!loop_ended) {
      gave_up = true;
      PostThreadMessageW(loop_thread, WM_QUIT, 0, 0);
    }
  });
  run_message_loop();
  loop_ended = true;
  second_press.join();
  EXPECT_TRUE(first_box_closed) << "the first question was not answered and closed within 20 s";
  EXPECT_FALSE(gave_up) << "the message loop did not end within 20 s";
  ASSERT_EQ(answerer.seen().size(), 2u);
  EXPECT_EQ(answerer.seen()[0].text, L"是否退出？");
  EXPECT_TRUE(answerer.seen()[1].main_window_alive);
  EXPECT_FALSE(IsWindow(window));
}

// As in Windows' own dialogs, the control that had the focus gets it back
// once the window is active again after a message box.
TEST(Focus, ComesBackToTheControlThatHadItAfterTheCloseQuestion) {
  MainWindowFixture fixture;
  HWND window = fixture.window();
  SetForegroundWindow(window);
  for (Control c : {Control::KeywordBox, Control::PageBox, Control::ResultList, Control::NextPage}) {
    SCOPED_TRACE(static_cast<int>(c));
    SetFocus(control_handle(c));
    pump_messages(20);
    ASSERT_EQ(GetFocus(), control_handle(c));
    ASSERT_EQ(request_close(window, IDNO).size(), 1u);
    EXPECT_TRUE(pump_until([&] { return GetFocus() == control_handle(c); }, 2000))
        << "the focus is on " << GetFocus();
  }
}

}  // namespace

namespace {

// Beyond the first screenful the list learns its length from a timer, not
// with every batch; it is never left behind for long, and a worker asking for
// the row count finds the list and the rows in step.
TEST(ResultList, ALongListLearnsItsLengthSoonAndAtEveryRowCount) {
  MainWindowFixture fixture;
  HWND list = control_handle(Control::ResultList);
  auto rows_in_list = [&] { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); };
  for (int batch = 0; batch < 5; ++batch) {
    std::vector<ResultHit> hits(40);
    for (size_t i = 0; i < hits.size(); ++i) hits[i].cells[kColHash] = std::to_string(batch * 40 + i);
    result_window().add_hits(std::move(hits));
  }
  EXPECT_TRUE(pump_until([&] { return rows_in_list() == 200; }, 2000)) << "the list shows " << rows_in_list();
  EXPECT_EQ(list_cell_text(list, 199, kColNumber), "200");
  EXPECT_EQ(list_cell_text(list, 199, kColHash), "199");

  result_window().add_hits(std::vector<ResultHit>(3));
  EXPECT_EQ(result_window().row_count(), 203);
  EXPECT_EQ(rows_in_list(), 203);
  result_window().clear_list();
  EXPECT_EQ(rows_in_list(), 0);
}

}  // namespace
