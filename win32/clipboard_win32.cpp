#include "win32/clipboard_win32.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "win32/handles_win32.h"
#include "win32/wide_text_win32.h"

namespace {

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
  OpenClipboardSession clipboard;
  if (!clipboard.is_open()) return;
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
