// Windows back end of the code-page layer: the platform conversions with an
// explicit code page and no flags, so invalid input and characters that the
// code page lacks get the platform's own defaults (U+FFFD for broken UTF-8,
// the code page's default character, '?' for 936, on the way out).
#include "text/code_page.h"

#include <windows.h>

#include <climits>

namespace {

bool convert_to_utf16(unsigned code_page, const char* bytes, int size, std::u16string& out) {
  const int needed = MultiByteToWideChar(code_page, 0, bytes, size, nullptr, 0);
  if (needed <= 0) return false;
  const size_t at = out.size();
  out.resize(at + static_cast<size_t>(needed));
  const int written =
      MultiByteToWideChar(code_page, 0, bytes, size, reinterpret_cast<wchar_t*>(&out[at]), needed);
  if (written <= 0) return false;
  out.resize(at + static_cast<size_t>(written));
  return true;
}

// Whether a UTF-8 sequence starts among the last three bytes, where the end
// of the text may cut it short. Wine drops the bytes after such a start (E4 31
// at the very end gives U+FFFD alone, not U+FFFD 1); with zero bytes after the
// text it reads them correctly.
bool may_end_cut_short(std::string_view bytes) {
  for (size_t i = bytes.size() > 3 ? bytes.size() - 3 : 0; i < bytes.size(); ++i) {
    if (static_cast<unsigned char>(bytes[i]) >= 0xC0) return true;
  }
  return false;
}

}  // namespace

std::optional<std::u16string> multibyte_to_utf16(unsigned code_page, std::string_view bytes) {
  if (!IsValidCodePage(code_page)) return std::nullopt;
  if (bytes.empty()) return std::u16string();
  if (bytes.size() > static_cast<size_t>(INT_MAX)) return std::nullopt;
  std::u16string out;
  if (code_page == CP_UTF8 && may_end_cut_short(bytes)) {
    // Three zero bytes let every sequence be read whole; each gives one
    // U+0000, taken off again.
    constexpr size_t kPadding = 3;
    if (bytes.size() > static_cast<size_t>(INT_MAX) - kPadding) return std::nullopt;
    std::string padded(bytes);
    padded.append(kPadding, '\0');
    if (!convert_to_utf16(code_page, padded.data(), static_cast<int>(padded.size()), out)) return std::nullopt;
    if (out.size() < kPadding) return std::nullopt;
    out.resize(out.size() - kPadding);
  } else if (!convert_to_utf16(code_page, bytes.data(), static_cast<int>(bytes.size()), out)) {
    return std::nullopt;
  }
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
