// Search and page commands: each settles the page number and starts one
// worker; nothing here waits for a worker.
#include <windows.h>

#include "app/main_window_win32.h"
#include "app/page_numbers.h"
#include "app/program_state.h"
#include "app/commands_win32.h"
#include "app/search_worker_win32.h"
#include "win32/message_box_win32.h"

namespace {

bool require_keyword() {
  // Any byte is a keyword, blanks included.
  if (!control_text(Control::KeywordBox).empty()) return true;
  message_box("请输入要搜索的内容", "提示", MB_OK | MB_ICONINFORMATION);
  focus_control(Control::KeywordBox);
  return false;
}

// The worker gets the page and keyword as they are now, so a later command
// never changes what an earlier worker fetches.
void start_search() { start_search_thread(page_counter, control_text(Control::KeywordBox)); }

}  // namespace

void search_command() {
  if (!require_keyword()) return;
  page_counter = page_from_number(text_to_number(control_text(Control::PageBox)));
  start_search();
}

void next_page_command() {
  if (!require_keyword()) return;
  set_control_text(Control::PageBox, next_page_text(control_text(Control::PageBox)));
  page_counter = text_to_integer(control_text(Control::PageBox));
  start_search();
}

void previous_page_command() {
  if (!require_keyword()) return;
  const auto previous = previous_page_text(control_text(Control::PageBox));
  if (!previous) return;
  set_control_text(Control::PageBox, *previous);
  page_counter = text_to_integer(control_text(Control::PageBox));
  start_search();
}

void handle_keyword_key(unsigned virtual_key, bool, bool, bool) {
  // Enter searches whatever Shift, Ctrl or Alt are held; the key still goes on to the box.
  if (virtual_key == VK_RETURN) search_command();
}

void handle_keyword_edit() { set_control_text(Control::PageBox, "1"); }
