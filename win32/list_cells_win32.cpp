#include "win32/list_cells_win32.h"

#include <commctrl.h>

#include <string>

#include "win32/grow_buffer.h"
#include "win32/wide_text_win32.h"

int selected_row(HWND list) {
  if (!list) return -1;
  return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

Text list_cell_text(HWND list, int row, int column) {
  if (!list || row < 0 || row >= static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0))) return Text();
  // The list copies at most the buffer's size less the terminator and says how
  // much it copied: a full buffer may have cut the text, so read again larger.
  const auto cell = read_into_growing_buffer<std::wstring>(256, 1u << 30, [&](std::wstring& buffer) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const LRESULT copied = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    if (copied < 0) return BufferTry::failed();
    if (static_cast<size_t>(copied) + 1 < buffer.size()) return BufferTry::fits(static_cast<size_t>(copied));
    return BufferTry::too_small();
  });
  return cell ? from_wide(*cell) : Text();
}
