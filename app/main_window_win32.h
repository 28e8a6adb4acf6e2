#pragma once
// The main window's controls and what is done to them: their texts, the
// focus, the result list and the collected text, the workers' requests.
// The window itself, its events and its message loop: program_window_win32.h.
#include <windows.h>

#include "actions/result_view.h"
#include "app/controls.h"
#include "search/result_window.h"
#include "text/text.h"

extern const char kWindowCaption[];
constexpr int kWindowWidth = 629;
constexpr int kWindowHeight = 356;

// Creates the controls of the main window that is being created.
bool create_main_window_controls(HWND window);
// The main window's own share of its messages: the status line's colours,
// the list's cells, giving the focus back, the workers' requests, its end.
// Returns false for a message it leaves to the caller.
bool handle_main_window_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);

// The main window, or null before it exists and once it is destroyed.
HWND main_window();
HWND control_handle(Control control);

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
