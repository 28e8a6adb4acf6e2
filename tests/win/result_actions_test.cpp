#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "win32/clipboard_win32.h"
#include "actions/result_actions_win32.h"
#include "win32/file_replace_win32.h"
#include "win32/list_cells_win32.h"
#include "app/main_window_win32.h"
#include "win32/handles_win32.h"
#include "app/commands_win32.h"
#include "tests/win/actions_test_support.h"
#include "tests/win/window_test_support.h"

namespace {

const Text kHash = "0123456789abcdef0123456789abcdef01234567";
const wchar_t kWideHash[] = L"0123456789abcdef0123456789abcdef01234567";
const LCID kChinesePrc = MAKELCID(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), SORT_DEFAULT);

// The clipboard's CF_TEXT up to its terminator, and whether it has one.
std::optional<std::string> clipboard_text() {
  std::optional<std::string> bytes = clipboard_bytes(CF_TEXT);
  if (!bytes) return bytes;
  const size_t end = bytes->find('\0');
  if (end == std::string::npos) return std::nullopt;
  return bytes->substr(0, end);
}

// The clipboard's code page 936 bytes and its UTF-16, each against a literal.
void expect_clipboard_holds(const std::string& bytes, const std::wstring& wide) {
  EXPECT_EQ(clipboard_text(), std::optional<std::string>(bytes));
  EXPECT_EQ(clipboard_wide_text(), std::optional<std::wstring>(wide));
}

void send_menu_command(UINT command) { SendMessageW(main_window(), WM_COMMAND, MAKEWPARAM(command, 0), 0); }

// Double-clicks the list at the middle of its first row (or its top when it has none).
void double_click_list() {
  HWND list = control_handle(Control::ResultList);
  RECT row{LVIR_BOUNDS, 0, 0, 0};
  if (!SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row))) row = RECT{10, 30, 100, 40};
  SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, (row.top + row.bottom) / 2));
  pump_messages(20);
}

void add_hits(std::initializer_list<Text> hashes) {
  int n = 0;
  for (const Text& hash : hashes) result_window().add_hits({make_test_hit("片名" + std::to_string(++n), hash)});
}

TEST(ActionsClipboard, PutsTheBytesTheUnicodeTextAndAChineseLocale) {
  const struct {
    Text text;
    const wchar_t* wide;
  } cases[] = {
      {"", L""},
      {kHash, kWideHash},
      {"种子文本 ABC：磁力", L"种子文本 ABC：磁力"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    put_clipboard_marker(L"marker");
    copy_to_clipboard(c.text);
    EXPECT_EQ(clipboard_text(), std::optional<std::string>(c.text));
    EXPECT_EQ(clipboard_wide_text(), std::optional<std::wstring>(c.wide));
    const std::optional<std::string> locale = clipboard_bytes(CF_LOCALE);
    ASSERT_TRUE(locale && locale->size() >= sizeof(LCID));
    LCID lcid = 0;
    std::memcpy(&lcid, locale->data(), sizeof lcid);
    EXPECT_EQ(lcid, kChinesePrc);
  }
}

TEST(ActionsClipboard, AClipboardHeldElsewhereIsLeftAsItWas) {
  put_clipboard_marker(L"held");
  std::atomic<bool> holding{false}, release{false};
  // Held by a window of another thread, as another program would hold it.
  std::thread holder([&] {
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (owner && OpenClipboard(owner)) {
      holding = true;
      while (!release) Sleep(5);
      CloseClipboard();
    }
    if (owner) DestroyWindow(owner);
  });
  for (int i = 0; i < 500 && !holding; ++i) Sleep(5);
  if (!holding) {
    release = true;
    holder.join();
    FAIL() << "the other thread could not open the clipboard within 2.5 s";
  }
  copy_to_clipboard(kHash);
  release = true;
  holder.join();
  EXPECT_EQ(clipboard_wide_text(), std::optional<std::wstring>(L"held"));
}

TEST(ActionsCopy, DoubleClickAndCopyCommandCopyTheSelectedHashOrAnEmptyText) {
  MainWindowFixture fixture;
  ASSERT_TRUE(fixture.window());
  add_hits({"aaaa", kHash, "cccc"});
  const struct {
    const char* how;
    void (*act)();
  } ways[] = {
      {"double-click", double_click_list},
      {"复制磁力", [] { send_menu_command(kMenuCopyHash); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.how);
    select_row(1);
    put_clipboard_marker(L"marker");
    way.act();
    expect_clipboard_holds(kHash, kWideHash);

    clear_selection();
    put_clipboard_marker(L"marker");
    way.act();
    expect_clipboard_holds("", L"");
  }
}

TEST(ActionsCopy, ALongOrChineseHashIsReadWhole) {
  MainWindowFixture fixture;
  ASSERT_TRUE(fixture.window());
  Text long_hash;
  std::wstring wide_long_hash;
  for (int i = 0; i < 300; ++i) {
    long_hash += "磁力abcdef";  // 3000 bytes, 1800 characters
    wide_long_hash += L"磁力abcdef";
  }
  add_hits({"x", long_hash});
  EXPECT_EQ(result_view().selected_hash(), "");
  select_row(1);
  EXPECT_EQ(result_view().selected_hash(), long_hash);
  send_menu_command(kMenuCopyHash);
  expect_clipboard_holds(long_hash, wide_long_hash);
  HWND list = control_handle(Control::ResultList);
  EXPECT_EQ(list_cell_text(list, -1, kColHash), "");
  EXPECT_EQ(list_cell_text(list, 2, kColHash), "");
}

TEST(ActionsOpenMagnet, HandsTheMagnetLinkToTheShellThenCopiesTheHash) {
  MainWindowFixture fixture;
  ASSERT_TRUE(fixture.window());
  add_hits({"aaaa", kHash});
  const struct {
    int row;
    const wchar_t* target;
    Text copied;
    const wchar_t* wide_copied;
  } cases[] = {
      {1, L"magnet:?xt=urn:btih:0123456789abcdef0123456789abcdef01234567&xl", kHash, kWideHash},
      {-1, L"magnet:?xt=urn:btih:&xl", "", L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    if (c.row >= 0) select_row(c.row); else clear_selection();
    put_clipboard_marker(L"marker");
    ShellRecorder shell;
    MessageBoxAnswerer answerer({IDOK});
    send_menu_command(kMenuOpenMagnet);
    ASSERT_EQ(shell.targets().size(), 1u);
    EXPECT_EQ(shell.targets()[0], c.target);
    EXPECT_EQ(answerer.answered(), 0u);
    expect_clipboard_holds(c.copied, c.wide_copied);
  }
}

TEST(ActionsOpenMagnet, OnAnEmptyListSaysSoAndStartsNothing) {
  MainWindowFixture fixture;
  ASSERT_TRUE(fixture.window());
  put_clipboard_marker(L"marker");
  ShellRecorder shell;
  MessageBoxAnswerer answerer({IDOK});
  send_menu_command(kMenuOpenMagnet);
  ASSERT_EQ(answerer.answered(), 1u);
  EXPECT_EQ(answerer.seen()[0].text, L"没有获得数据不能下载");
  EXPECT_EQ(answerer.seen()[0].title, L"提示");
  EXPECT_TRUE(shell.targets().empty());
  expect_clipboard_holds("", L"");
}

TEST(ActionsExport, WritesEveryRecordCollectedSinceStartUpAndAsks) {
  MainWindowFixture fixture;
  ASSERT_TRUE(fixture.window());
  ExportFileGuard file;
  ASSERT_TRUE(file.write("an older export\r\n"));
  result_window().add_hits({make_test_hit("第一批 aaaa", "aaaa")});
  result_window().add_hits({make_test_hit("第一批 " + kHash, kHash)});
  result_window().clear_list();  // the next search: the list starts again, the collected text does not
  result_window().add_hits({make_test_hit("第二批 <b>", "ffff")});
  // The file's bytes: code page 936, CRLF lines, no terminator.
  std::string expected =
      "片名 第一批 aaaa创建日期:2024-01-02  文件大小:1.5 GB\r\n"
      "磁力链接 magnet:?xt=urn:btih:aaaa&xl\r\n"
      "迅雷链接 magnet:?xt=urn:btih:aaaa&xl\r\n"
      "片名 第一批 0123456789abcdef0123456789abcdef01234567创建日期:2024-01-02  文件大小:1.5 GB\r\n"
      "磁力链接 magnet:?xt=urn:btih:0123456789abcdef0123456789abcdef01234567&xl\r\n"
      "迅雷链接 magnet:?xt=urn:btih:0123456789abcdef0123456789abcdef01234567&xl\r\n"
      "片名 第二批 <b>创建日期:2024-01-02  文件大小:1.5 GB\r\n"
      "磁力链接 magnet:?xt=urn:btih:ffff&xl\r\n"
      "迅雷链接 magnet:?xt=urn:btih:ffff&xl\r\n";

  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ShellRecorder shell;
    MessageBoxAnswerer answerer({IDNO});
    send_menu_command(kMenuExportAll);
    ASSERT_EQ(answerer.answered(), 1u);
    EXPECT_EQ(answerer.seen()[0].text, L"写出成功！是否立即查看？");
    EXPECT_EQ(answerer.seen()[0].title, L"提示");
    EXPECT_EQ(file.contents(), std::optional<std::string>(expected));
    EXPECT_TRUE(shell.targets().empty());
    EXPECT_TRUE(file.leftovers().empty());
    result_window().add_hits({make_test_hit("第三批", "eeee")});
    expected +=
        "片名 第三批创建日期:2024-01-02  文件大小:1.5 GB\r\n"
        "磁力链接 magnet:?xt=urn:btih:eeee&xl\r\n"
        "迅雷链接 magnet:?xt=urn:btih:eeee&xl\r\n";
  }
}

TEST(ActionsExport, BeforeAnySearchEmptiesTheFileAndStillAsks) {
  MainWindowFixture fixture;
  ASSERT_TRUE(fixture.window());
  ExportFileGuard file;
  for (bool existed : {true, false}) {
    SCOPED_TRACE(existed);
    if (existed) ASSERT_TRUE(file.write("old"));
    else DeleteFileW(file.path().c_str());
    MessageBoxAnswerer answerer({IDNO});
    send_menu_command(kMenuExportAll);
    EXPECT_EQ(answerer.answered(), 1u);
    EXPECT_EQ(file.contents(), std::optional<std::string>(""));
  }
}

TEST(ActionsExport, AnsweringYesOpensTheFileWithTheShell) {
  MainWindowFixture fixture;
  ASSERT_TRUE(fixture.window());
  ExportFileGuard file;
  const std::wstring& path = file.path();
  ASSERT_GT(path.size(), 12u);
  EXPECT_EQ(path.substr(path.size() - 9), L"\\种子文本.txt");
  EXPECT_EQ(path.find(L"\\\\", 2), std::wstring::npos);
  ShellRecorder shell;
  MessageBoxAnswerer answerer({IDYES});
  send_menu_command(kMenuExportAll);
  EXPECT_EQ(answerer.answered(), 1u);
  ASSERT_EQ(shell.targets().size(), 1u);
  EXPECT_EQ(shell.targets()[0], path);
}

TEST(ActionsExport, AnUnwritableTargetKeepsTheOldFileAndSaysNothing) {
  MainWindowFixture fixture;
  ASSERT_TRUE(fixture.window());
  add_hits({kHash});
  ExportFileGuard file;
  const std::wstring& path = file.path();
  const struct {
    const char* what;
    bool directory;
  } cases[] = {{"held open without sharing", false}, {"read-only", false}, {"a folder in its place", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    UniqueHandle held;
    if (c.directory) {
      ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    } else {
      ASSERT_TRUE(file.write("the old export"));
    }
    if (std::string(c.what) == "held open without sharing") {
      HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(h, INVALID_HANDLE_VALUE);
      held.reset(h);
    } else if (std::string(c.what) == "read-only") {
      ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    ShellRecorder shell;
    MessageBoxAnswerer answerer({IDNO});
    send_menu_command(kMenuExportAll);
    EXPECT_EQ(answerer.answered(), 0u);
    EXPECT_TRUE(shell.targets().empty());
    EXPECT_TRUE(file.leftovers().empty());
    held.reset();
    if (c.directory) {
      EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
      EXPECT_TRUE(RemoveDirectoryW(path.c_str()));
    } else {
      EXPECT_EQ(file.contents(), std::optional<std::string>("the old export"));
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
    }
  }
}

// The popup menu window of this process, or null.
HWND find_popup_menu() {
  struct Search {
    HWND found = nullptr;
  } search;
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t cls[16] = {};
        GetClassNameW(window, cls, 16);
        if (process == GetCurrentProcessId() && IsWindowVisible(window) && std::wstring(cls) == L"#32768") {
          reinterpret_cast<Search*>(param)->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(ActionsMenu, ARightPressOnTheListShowsTheMenuBesideTheCursorAndItsChoiceRuns) {
  MainWindowFixture fixture;
  ASSERT_TRUE(fixture.window());
  add_hits({kHash});
  select_row(0);
  HWND list = control_handle(Control::ResultList);
  RECT row{LVIR_BOUNDS, 0, 0, 0};
  ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
  POINT press{60, (row.top + row.bottom) / 2};
  // The pointer is left where it is: under Wine a moved pointer reads back its
  // new place at first and its old one again a moment later.
  pump_messages(200);
  POINT cursor{};
  GetCursorPos(&cursor);
  put_clipboard_marker(L"marker");

  // The keys walk past 磁力下载 and a separator to 复制磁力 and choose it.
  std::atomic<bool> done{false};
  RECT shown{};
  std::thread chooser([&] {
    HWND menu = nullptr;
    for (int i = 0; i < 500 && !(menu = find_popup_menu()); ++i) Sleep(10);
    if (menu) {
      GetWindowRect(menu, &shown);
      for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
        PostMessageW(menu, WM_KEYDOWN, key, 0);
        Sleep(30);
      }
      for (int i = 0; i < 500 && IsWindowVisible(menu); ++i) Sleep(10);
    }
    PostMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(press.x, press.y));
    done = true;
  });
  PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(press.x, press.y));
  EXPECT_TRUE(pump_until([&] { return done.load(); })) << "the menu was not shown and chosen from within 10 s";
  chooser.join();
  // The choice arrives as a posted WM_COMMAND.
  pump_until([] { return clipboard_wide_text() != std::optional<std::wstring>(L"marker"); }, 2000);
  // Near the screen's right or bottom edge the system moves the menu inwards.
  if (cursor.x < GetSystemMetrics(SM_CXSCREEN) - 300 && cursor.y < GetSystemMetrics(SM_CYSCREEN) - 200) {
    EXPECT_EQ(shown.left, cursor.x + 3);
    EXPECT_EQ(shown.top, cursor.y + 3);
  } else {
    EXPECT_NE(shown.right, 0);
  }
  expect_clipboard_holds(kHash, kWideHash);
  EXPECT_EQ(find_popup_menu(), nullptr);
}

}  // namespace
