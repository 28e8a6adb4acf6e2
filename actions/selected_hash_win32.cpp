#include "actions/selected_hash_win32.h"

#include <commctrl.h>

#include <string>

#include "app/main_window_win32.h"
#include "search/result_rows.h"
#include "text/wide_text_win32.h"

int selected_row(HWND list) {
  if (!list) return -1;
  return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

Text list_cell_text(HWND list, int row, int column) {
  if (!list || row < 0 || row >= static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0))) return Text();
  // The list copies at most the buffer's size less the terminator and says how
  // much it copied: a full buffer may have cut the text, so read again larger.
  std::wstring buffer(256, L'\0');
  for (;;) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const LRESULT copied = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    if (copied < 0) return Text();
    if (static_cast<size_t>(copied) + 1 < buffer.size() || buffer.size() >= (1u << 30)) {
      buffer.resize(static_cast<size_t>(copied));
      return from_wide(buffer);
    }
    buffer.assign(buffer.size() * 2, L'\0');
  }
}

Text selected_hash() {
  HWND list = control_handle(Control::ResultList);
  return list_cell_text(list, selected_row(list), kColHash);
}
