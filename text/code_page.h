#pragma once
// The one place where texts change code page. Two back ends implement the two
// primitives below: the Win32 conversions (code_page_win32.cpp) in the Windows
// build and iconv (code_page_iconv.cpp) in the native build.
#include <optional>
#include <string>
#include <string_view>

#include "text/text.h"

constexpr unsigned kCodePageGbk = 936;    // the program's own texts
constexpr unsigned kCodePageUtf8 = 65001; // result pages

// Bytes in `code_page` to UTF-16. Each invalid UTF-8 sequence becomes U+FFFD.
// nullopt when the code page is not available.
std::optional<std::u16string> multibyte_to_utf16(unsigned code_page, std::string_view bytes);

// UTF-16 to bytes in `code_page`; a character the code page lacks becomes '?'.
// nullopt when the code page is not available.
std::optional<std::string> utf16_to_multibyte(unsigned code_page, std::u16string_view text);

// The program's texts and UTF-16, both ways: the one pair every layer uses to
// cross between code page 936 and UTF-16. A failure gives the empty text.
inline std::u16string gbk_to_utf16(std::string_view text) {
  return multibyte_to_utf16(kCodePageGbk, text).value_or(std::u16string());
}
inline Text utf16_to_gbk(std::u16string_view text) {
  return utf16_to_multibyte(kCodePageGbk, text).value_or(Text());
}

// UTF-8 to the program's texts through UTF-16; nullopt when a code page is
// not available. A character code page 936 lacks becomes '?'.
inline std::optional<Text> utf8_to_gbk_text(std::string_view utf8) {
  const std::optional<std::u16string> wide = multibyte_to_utf16(kCodePageUtf8, utf8);
  if (!wide) return std::nullopt;
  return utf16_to_multibyte(kCodePageGbk, *wide);
}
