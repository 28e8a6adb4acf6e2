// The program's entry: open the main window, run its message loop, and let
// workers still running end with the process.
#include <windows.h>

#include <cstdlib>

#include "app/main_window_win32.h"
#include "app/program_state.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  std::atexit(release_page_text);
  if (!create_main_window(instance)) {
    message_box("主窗口无法创建，程序将退出。", "错误", MB_OK | MB_ICONERROR);
    return 1;
  }
  ShowWindow(main_window(), show);
  UpdateWindow(main_window());
  const int code = run_message_loop();
  // Returning ends the process at once: no worker is waited for.
  ExitProcess(static_cast<UINT>(code));
}
