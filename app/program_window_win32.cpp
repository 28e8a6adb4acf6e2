#include "app/program_window_win32.h"

#include <commctrl.h>

#include "app/main_window_win32.h"
#include "app/resource_ids.h"
#include "app/startup_close_win32.h"
#include "app/window_events_win32.h"
#include "win32/wide_text_win32.h"

namespace {

constexpr wchar_t kWindowClass[] = L"QuenlitMainWindow";

// Messages to a control that the event table binds are seen here first.
LRESULT CALLBACK control_events_proc(HWND child, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  dispatch_event(EventVia::ControlMessage, GetDlgCtrlID(child), message, {wparam, result_view()});
  return DefSubclassProc(child, message, wparam, lparam);
}

bool create_window_contents(HWND window) {
  if (!create_main_window_controls(window)) return false;
  for (int i = 0; i < static_cast<int>(Control::Count); ++i) {
    const Control control = static_cast<Control>(i);
    if (has_control_message_events(control)) SetWindowSubclass(control_handle(control), control_events_proc, 1, 0);
  }
  return true;
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  switch (message) {
    case WM_CREATE:
      return create_window_contents(window) ? 0 : -1;
    case WM_COMMAND:
      dispatch_event(EventVia::Command, LOWORD(wparam), HIWORD(wparam), {wparam, result_view()});
      return 0;
    case WM_NOTIFY:
      if (handle_main_window_message(message, wparam, lparam, &result)) return result;
      dispatch_event(EventVia::Notify, static_cast<int>(reinterpret_cast<const NMHDR*>(lparam)->idFrom),
                     reinterpret_cast<const NMHDR*>(lparam)->code, {wparam, result_view()});
      return 0;
    case WM_CLOSE:
      if (handle_close_request()) DestroyWindow(window);
      return 0;
  }
  if (handle_main_window_message(message, wparam, lparam, &result)) return result;
  return DefWindowProcW(window, message, wparam, lparam);
}

bool register_window_class(HINSTANCE instance) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = main_window_proc;
  window_class.hInstance = instance;
  // One 32 x 32 picture serves as both the large and the small icon.
  window_class.hIcon =
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUENLIT), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  window_class.hIconSm = window_class.hIcon;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWindowClass;
  return RegisterClassExW(&window_class) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Esc anywhere in the window asks to close it; Tab moves the focus among the
// controls. Returns true when the message has been handled.
bool handle_window_key(const MSG& msg) {
  HWND window = main_window();
  if (!window || msg.message != WM_KEYDOWN) return false;
  if (msg.hwnd != window && !IsChild(window, msg.hwnd)) return false;
  if (msg.wParam == VK_ESCAPE) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return true;
  }
  if (msg.wParam == VK_TAB && !(GetKeyState(VK_CONTROL) < 0)) {
    HWND next = GetNextDlgTabItem(window, GetFocus(), GetKeyState(VK_SHIFT) < 0);
    if (next) SetFocus(next);
    return true;
  }
  return false;
}

}  // namespace

HWND create_main_window(HINSTANCE instance) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  if (!register_window_class(instance)) return nullptr;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
  HWND window = CreateWindowExW(0, kWindowClass, to_wide(kWindowCaption).c_str(),
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS,
                                left, top, kWindowWidth, kWindowHeight, nullptr, nullptr, instance, nullptr);
  if (!window) return nullptr;
  handle_window_created();
  return window;
}

int run_message_loop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (handle_window_key(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
