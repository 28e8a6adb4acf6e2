// Windows back end of the code-page layer: the platform conversions with an
// explicit code page and no flags, so invalid input and characters that the
// code page lacks get the platform's own defaults (U+FFFD for broken UTF-8,
// the code page's default character, '?' for 936, on the way out).
#include "text/code_page.h"

#include <windows.h>

#include <climits>

std::optional<std::u16string> multibyte_to_utf16(unsigned code_page, std::string_view bytes) {
  if (!IsValidCodePage(code_page)) return std::nullopt;
  if (bytes.empty()) return std::u16string();
  if (bytes.size() > static_cast<size_t>(INT_MAX)) return std::nullopt;
  const int size = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(code_page, 0, bytes.data(), size, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::u16string out(static_cast<size_t>(needed), u'\0');
  const int written =
      MultiByteToWideChar(code_page, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(out.data()), needed);
  if (written <= 0) return std::nullopt;
  out.resize(static_cast<size_t>(written));
  return out;
}

std::optional<std::string> utf16_to_multibyte(unsigned code_page, std::u16string_view text) {
  if (!IsValidCodePage(code_page)) return std::nullopt;
  if (text.empty()) return std::string();
  if (text.size() > static_cast<size_t>(INT_MAX)) return std::nullopt;
  const int size = static_cast<int>(text.size());
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int needed = WideCharToMultiByte(code_page, 0, wide, size, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return std::nullopt;
  std::string out(static_cast<size_t>(needed), '\0');
  const int written = WideCharToMultiByte(code_page, 0, wide, size, out.data(), needed, nullptr, nullptr);
  if (written <= 0) return std::nullopt;
  out.resize(static_cast<size_t>(written));
  return out;
}
