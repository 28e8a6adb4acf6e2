// The program's entry: open the main window, run its message loop, and let
// workers still running end with the process.
#include <windows.h>

#include "app/main_window_win32.h"
#include "app/program_window_win32.h"
#include "app/program_state.h"
#include "app/site_settings_win32.h"
#include "win32/message_box_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  load_site_settings();
  if (!create_main_window(instance)) {
    message_box("主窗口无法创建，程序将退出。", "错误", MB_OK | MB_ICONERROR);
    return 1;
  }
  ShowWindow(main_window(), show);
  UpdateWindow(main_window());
  const int code = run_message_loop();
  release_page_text();
  // Workers may still be fetching and will touch the program-wide values when
  // they finish. ExitProcess ends them first and runs no static destructors,
  // so none of them ever sees a destroyed global; returning from here (exit())
  // would destroy the globals while they still run.
  ExitProcess(static_cast<UINT>(code));
}
