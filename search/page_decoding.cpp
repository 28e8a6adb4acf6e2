#include "search/page_decoding.h"

#include <array>
#include <cstring>
#include <string_view>

#include "text/code_page.h"

namespace {

// Value of a byte in the digit table "0123456789ABCDEF" (lower-case letters
// count as upper-case), -2 for every byte not in it.
constexpr std::array<int, 256> make_digit_values() {
  std::array<int, 256> values{};
  for (int& v : values) v = -2;
  for (int d = 0; d < 10; ++d) values['0' + d] = d;
  for (int d = 0; d < 6; ++d) {
    values['A' + d] = 10 + d;
    values['a' + d] = 10 + d;
  }
  return values;
}
constexpr std::array<int, 256> kDigitValues = make_digit_values();

// The text as a C string sees it: up to its first zero byte.
std::string_view c_string_view(const Text& text) { return std::string_view(text.c_str()); }

unsigned resolve_code_page(std::optional<unsigned> code_page, unsigned omitted) {
  if (!code_page) return omitted;
  return *code_page == 0 ? kCodePageGbk : *code_page;  // 0: the ANSI code page
}

}  // namespace

Text decode_page_text(const Text& text, std::optional<bool> convert_from_utf8) {
  const std::string_view in = c_string_view(text);
  const size_t length = in.size();
  const auto digit_at = [&](size_t j) {
    return j < length ? kDigitValues[static_cast<unsigned char>(in[j])] : 0;
  };
  Text out;
  out.reserve(length);
  size_t i = 0;
  while (i < length) {
    // Copy the run up to the next escape in one go: pages have few escapes.
    const size_t percent = in.find('%', i);
    const size_t run_end = percent == std::string_view::npos ? length : percent;
    out.append(in.data() + i, run_end - i);
    i = run_end;
    if (i >= length) break;
    const int value = 16 * digit_at(i + 1) + digit_at(i + 2);
    const unsigned char byte = static_cast<unsigned char>(static_cast<unsigned>(value) & 0xFFu);
    if (byte != 0) out.push_back(static_cast<char>(byte));
    i += 3;
  }
  if (convert_from_utf8.value_or(false)) return utf8_to_gbk(out);
  return out;
}

Text utf8_to_gbk(const Text& text) { return utf16_to_text(text_to_utf16(text), kCodePageGbk); }

Utf16Buffer text_to_utf16(const Text& text, std::optional<unsigned> code_page) {
  const unsigned cp = resolve_code_page(code_page, kCodePageUtf8);
  std::optional<std::u16string> wide = multibyte_to_utf16(cp, c_string_view(text));
  if (!wide) return Utf16Buffer();
  return std::move(*wide);
}

Text utf16_to_text(const Utf16Buffer& buffer, std::optional<unsigned> code_page) {
  const unsigned cp = resolve_code_page(code_page, kCodePageGbk);
  std::optional<std::string> narrow = utf16_to_multibyte(cp, std::u16string_view(buffer.c_str()));
  if (!narrow) return Text();  // a code page the system lacks gives nothing, not filler
  return std::move(*narrow);
}
