#pragma once
// The main window and its controls.
#include <windows.h>

#include "actions/result_view.h"
#include "search/result_window.h"
#include "text/text.h"

// The window's controls, in the order they are created; the popup menu 菜单
// (created seventh in the design) is not a window and is built when shown.
// The records of every hit are collected by the window itself (see
// collected_text), not in a hidden edit box.
enum class Control {
  StatusLabel,    // 透明标签1
  PageUnitLabel,  // 标签3, "页"
  PagePrefixLabel,// 标签2, " 第"
  NextPage,       // 下一页
  PreviousPage,   // 上一页
  PageBox,        // 编辑框1
  SearchButton,   // 按钮_搜索
  KeywordBox,     // 编辑框_搜索内容
  ResultList,     // 超级列表框1
  Count
};

// Commands of the popup menu, in menu order.
enum MenuCommand : UINT {
  kMenuOpenMagnet = 40001,  // 磁力下载
  kMenuCopyHash,            // 复制磁力
  kMenuExportAll,           // 全部导出
};

extern const char kWindowCaption[];
constexpr int kWindowWidth = 629;
constexpr int kWindowHeight = 356;

// Creates the main window with every control and runs its created event.
// Returns null when the window cannot be created.
HWND create_main_window(HINSTANCE instance);
// The main window, or null before it exists and once it is destroyed.
HWND main_window();
HWND control_handle(Control control);
int control_id(Control control);

// Runs the message loop until the main window has closed.
int run_message_loop();

// --- operations on the window's thread -------------------------------------
Text control_text(Control control);
void set_control_text(Control control, const Text& text);
// Gives the focus to the control; it is also where the focus comes back to
// when the window is activated again.
void focus_control(Control control);
Text window_caption();
// The popup menu 菜单: 磁力下载, separator, 复制磁力, separator, 全部导出.
HMENU build_result_menu();
// Every record collected since start-up, in order.
const Text& collected_text();
// The result list and the collected text, as the result actions read them.
ResultView& result_view();

// --- for workers, from their own threads -----------------------------------
// Each call is carried out whole on the window's thread; once the window is
// closing, calls do nothing (a row count then reads 0).
ResultWindow& result_window();
// How many hits were handed to the window after it had begun closing, and so
// dropped.
unsigned dropped_hit_count();
