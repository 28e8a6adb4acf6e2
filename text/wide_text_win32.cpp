#include "text/wide_text_win32.h"

#include <windows.h>

std::wstring to_wide(const Text& text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(936, 0, text.data(), size, nullptr, 0);
  if (needed <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(needed), L'\0');
  MultiByteToWideChar(936, 0, text.data(), size, wide.data(), needed);
  return wide;
}

Text from_wide(const std::wstring& text) {
  if (text.empty()) return Text();
  const int size = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(936, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return Text();
  Text narrow(static_cast<size_t>(needed), '\0');
  WideCharToMultiByte(936, 0, text.data(), size, narrow.data(), needed, nullptr, nullptr);
  return narrow;
}
