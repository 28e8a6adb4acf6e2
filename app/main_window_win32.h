#pragma once
// The main window and its controls.
#include <windows.h>

#include "search/result_rows.h"
#include "text/text.h"

// The window's controls, in the order they are created; the popup menu 菜单
// (created seventh in the design) is not a window and is built when shown.
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
  CollectedText,  // 编辑框_临时存放 (hidden)
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
void focus_control(Control control);
Text window_caption();
// A task-modal message box with no owner window; returns the button pressed.
int message_box(const Text& text, const Text& title, UINT style);
// The popup menu 菜单: 磁力下载, separator, 复制磁力, separator, 全部导出.
HMENU build_result_menu();

// --- operations a worker may call from its own thread ----------------------
// Each is carried out whole on the window's thread; once the window is closing
// they do nothing (a row count then reads 0).
void ui_clear_list();
int ui_row_count();
void ui_set_status(const Text& text);
void ui_add_hit(const ResultHit& hit);
