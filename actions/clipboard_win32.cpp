#include "actions/clipboard_win32.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

#include "text/wide_text_win32.h"

namespace {

// A global memory block until the clipboard takes it over.
struct GlobalFreer {
  using pointer = HGLOBAL;
  void operator()(HGLOBAL block) const {
    if (block) GlobalFree(block);
  }
};
using UniqueGlobal = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, GlobalFreer>;

// Closes the clipboard on every way out once it has been opened.
struct ClipboardSession {
  bool open = OpenClipboard(nullptr) != FALSE;
  ~ClipboardSession() {
    if (open) CloseClipboard();
  }
};

// A movable, zero-filled block holding `size` bytes from `data` (the zeros
// after them are the terminator); null when no block can be had.
UniqueGlobal make_block(const void* data, size_t size, size_t terminator_size) {
  UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + terminator_size));
  if (!block) return block;
  void* memory = GlobalLock(block.get());
  if (!memory) return UniqueGlobal();
  if (size) std::memcpy(memory, data, size);
  GlobalUnlock(block.get());
  return block;
}

// Hands the block over; the clipboard owns it only when the call succeeds.
bool put(UINT format, UniqueGlobal block) {
  if (!block) return false;
  if (!SetClipboardData(format, block.get())) return false;
  block.release();
  return true;
}

}  // namespace

void copy_to_clipboard(const Text& text) {
  ClipboardSession clipboard;
  if (!clipboard.open) return;
  EmptyClipboard();
  // Without a block of its own the clipboard stays empty.
  if (!put(CF_TEXT, make_block(text.data(), text.size(), 1))) return;
  // Left to itself the system would make CF_UNICODETEXT out of CF_TEXT with the
  // ANSI code page and garble every Chinese character on a non-Chinese system.
  const std::wstring wide = to_wide(text);
  put(CF_UNICODETEXT, make_block(wide.data(), wide.size() * sizeof(wchar_t), sizeof(wchar_t)));
  const LCID chinese_prc = MAKELCID(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), SORT_DEFAULT);
  put(CF_LOCALE, make_block(&chinese_prc, sizeof chinese_prc, 0));
}
