#include "text/wide_text_win32.h"

#include "text/code_page.h"

// wchar_t is a UTF-16 code unit on Windows, so the code-page layer's UTF-16
// serves the wide interfaces as it is.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide interfaces take UTF-16");

std::wstring to_wide(const Text& text) {
  const std::u16string wide = multibyte_to_utf16(kCodePageGbk, text).value_or(std::u16string());
  return std::wstring(wide.begin(), wide.end());
}

Text from_wide(const std::wstring& text) {
  const std::u16string wide(text.begin(), text.end());
  return utf16_to_multibyte(kCodePageGbk, wide).value_or(Text());
}
