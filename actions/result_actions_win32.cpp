#include "actions/result_actions_win32.h"

#include <windows.h>

#include "search/magnet_link.h"
#include "win32/clipboard_win32.h"
#include "win32/file_replace_win32.h"
#include "win32/message_box_win32.h"
#include "win32/shell_open_win32.h"
#include "win32/wide_text_win32.h"

void show_result_menu(ResultView& view) {
  POINT at{};
  GetCursorPos(&at);
  view.show_menu(at.x + 3, at.y + 3);
}

void copy_selected_hash(ResultView& view) { copy_to_clipboard(view.selected_hash()); }

void open_selected_magnet(ResultView& view) {
  if (view.row_count() > 0) {
    open_with_shell(magnet_link(view.selected_hash()));
  } else {
    message_box("没有获得数据不能下载", "提示", MB_OK);
  }
  // Read again: a worker may have refilled the list meanwhile.
  copy_to_clipboard(view.selected_hash());
}

std::wstring export_path() { return program_file_path(to_wide("种子文本.txt")); }

void export_collected_text(ResultView& view) {
  const std::wstring path = export_path();
  if (!replace_file_contents(path, view.collected_text())) return;
  if (message_box("写出成功！是否立即查看？", "提示", MB_YESNO | MB_ICONQUESTION) == IDYES) open_with_shell(path);
}
