#include "win32/message_box_win32.h"

#include "win32/wide_text_win32.h"

int message_box(const Text& text, const Text& title, UINT style) {
  return MessageBoxW(nullptr, to_wide(text).c_str(), to_wide(title).c_str(), style | MB_TASKMODAL);
}
