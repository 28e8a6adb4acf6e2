#include "app/result_list_win32.h"

#include <algorithm>
#include <array>
#include <string>

#include "win32/wide_text_win32.h"

namespace {

struct ColumnSpec {
  const char* title;
  int width;
  int format;
};

const std::array<ColumnSpec, kColumnCount> kColumns = {{
    {"序", 30, LVCFMT_LEFT},
    {"片名", 355, LVCFMT_LEFT},
    {"大小", 80, LVCFMT_CENTER},
    {"日期", 100, LVCFMT_CENTER},
    {"热度", 50, LVCFMT_CENTER},
    {"磁", 0, LVCFMT_LEFT},  // the info-hash, read by the result actions
    {"迅", 0, LVCFMT_LEFT},
}};

}  // namespace

void set_up_result_list(HWND list) {
  const DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_INFOTIP | LVS_EX_SUBITEMIMAGES;
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  SendMessageW(list, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 0));
  SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
  SendMessageW(list, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
  for (size_t i = 0; i < kColumns.size(); ++i) {
    std::wstring title = to_wide(kColumns[i].title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = kColumns[i].format;
    column.cx = kColumns[i].width;
    column.pszText = title.data();
    column.iSubItem = static_cast<int>(i);
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

void show_row_count(HWND list, int rows) {
  if (rows == 0) {
    // Drops the selection and the focus mark with the rows.
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    return;
  }
  SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void fill_result_cell(NMLVDISPINFOW& request, const ResultStore& results) {
  LVITEMW& item = request.item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
  const std::wstring text = to_wide(results.cell(item.iItem, item.iSubItem));
  // The list gives the buffer; a longer text is cut to fit, as the list's own
  // items are.
  const size_t copied = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
  std::copy_n(text.data(), copied, item.pszText);
  item.pszText[copied] = L'\0';
}
