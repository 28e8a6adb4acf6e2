// The result list's actions: its popup menu, copying the info-hash, handing
// its magnet link to the shell and exporting everything collected.
#include <windows.h>

#include <commctrl.h>

#include "actions/clipboard_win32.h"
#include "actions/export_file_win32.h"
#include "actions/selected_hash_win32.h"
#include "actions/shell_open_win32.h"
#include "app/main_window_win32.h"
#include "app/win32_handles_win32.h"
#include "app/window_events_win32.h"
#include "search/magnet_link.h"

void show_result_menu() {
  POINT at{};
  GetCursorPos(&at);
  UniqueMenu menu(build_result_menu());
  if (!menu) return;
  // A chosen item comes back as WM_COMMAND once this has returned.
  TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, at.x + 3, at.y + 3, 0, main_window(), nullptr);
}

void copy_selected_hash() { copy_to_clipboard(selected_hash()); }

void open_selected_magnet() {
  HWND list = control_handle(Control::ResultList);
  const LRESULT rows = list ? SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) : 0;
  if (rows > 0) {
    open_with_shell(magnet_link(selected_hash()));
  } else {
    message_box("没有获得数据不能下载", "提示", MB_OK);
  }
  // Read again: a worker may have refilled the list meanwhile.
  copy_to_clipboard(selected_hash());
}

void export_collected_text() {
  const std::wstring path = export_path();
  if (!replace_file_contents(path, control_text(Control::CollectedText))) return;
  if (message_box("写出成功！是否立即查看？", "提示", MB_YESNO | MB_ICONQUESTION) == IDYES) open_with_shell(path);
}
