#include "win32/window_text_win32.h"

#include <string>

#include "win32/wide_text_win32.h"

Text window_text(HWND window) {
  if (!window) return Text();
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return from_wide(text);
}

void set_window_text(HWND window, const Text& text) {
  if (window) SetWindowTextW(window, to_wide(text).c_str());
}
