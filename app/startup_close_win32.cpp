#include <cstdio>

#include "app/main_window_win32.h"
#include "app/program_state.h"
#include "app/startup_close_win32.h"
#include "win32/message_box_win32.h"

void handle_window_created() {
  page_counter = 1;
  char number[16];
  std::snprintf(number, sizeof number, "%d", page_counter);
  set_control_text(Control::PageBox, number);
}

bool handle_close_request() {
  const Text caption = window_caption();
  return message_box("是否退出？", caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}
