#include "win32/wide_text_win32.h"

#include "text/code_page.h"

// wchar_t is a UTF-16 code unit on Windows, so the code-page layer's UTF-16
// serves the wide interfaces as it is.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide interfaces take UTF-16");

std::wstring to_wide(std::string_view text) {
  const std::u16string wide = gbk_to_utf16(text);
  return std::wstring(wide.begin(), wide.end());
}

Text from_wide(std::wstring_view text) {
  return utf16_to_gbk(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}
