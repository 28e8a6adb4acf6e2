#include "search/page_decoding.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
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

// Percent-decodes `in` from `i` on, appending to `out` until it has grown by
// about `piece` bytes or the input ends; returns where the input stopped.
size_t percent_decode(std::string_view in, size_t i, size_t piece, Text& out) {
  const size_t length = in.size();
  const size_t stop_at = out.size() + piece;
  const auto digit_at = [&](size_t j) { return j < length ? kDigitValues[static_cast<unsigned char>(in[j])] : 0; };
  while (i < length && out.size() < stop_at) {
    // Copy the run up to the next escape in one go: pages have few escapes.
    const size_t percent = in.find('%', i);
    const size_t run_end = std::min(percent == std::string_view::npos ? length : percent, i + piece);
    out.append(in.data() + i, run_end - i);
    i = run_end;
    if (i >= length || in[i] != '%') continue;
    const int value = 16 * digit_at(i + 1) + digit_at(i + 2);
    const unsigned char byte = static_cast<unsigned char>(static_cast<unsigned>(value) & 0xFFu);
    if (byte != 0) out.push_back(static_cast<char>(byte));
    i += 3;
  }
  return i;
}

// How many bytes at the end of `bytes` begin a UTF-8 sequence that the bytes
// after them may complete: they wait for the next piece, so that converting
// piece by piece gives what converting the whole would.
size_t unfinished_utf8_tail(std::string_view bytes) {
  for (size_t k = 1; k <= 3 && k <= bytes.size(); ++k) {
    const auto c = static_cast<unsigned char>(bytes[bytes.size() - k]);
    if (c < 0x80) return 0;
    if (c >= 0xC0) {
      const size_t needed = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
      return needed > k ? k : 0;
    }
  }
  return 0;
}

// UTF-8 to code page 936 a piece at a time, so that neither the whole text
// in UTF-16 nor a second whole copy of it is ever held.
class Utf8ToGbk {
public:
  explicit Utf8ToGbk(size_t expected) { out_.reserve(expected); }

  // Converts what `pending` holds but its unfinished tail, which stays.
  void convert(Text& pending, bool last) {
    const size_t keep = last ? 0 : unfinished_utf8_tail(pending);
    const std::string_view ready(pending.data(), pending.size() - keep);
    if (!ready.empty() && ok_) {
      const std::optional<Text> narrow = utf8_to_gbk_text(ready);
      if (narrow) {
        out_ += *narrow;
      } else {
        ok_ = false;  // a code page the system lacks gives nothing, not part of the text
      }
    }
    pending.erase(0, pending.size() - keep);
  }

  Text take() { return ok_ ? std::move(out_) : Text(); }

private:
  Text out_;
  bool ok_ = true;
};

// Bytes percent-decoded before they are converted: small beside a large page,
// large enough that a call per piece costs nothing (under Wine each call to
// the conversions costs milliseconds of its own: 64 KB pieces took a 40 MB
// page from 0.6 s to 4.2 s).
constexpr size_t kPieceBytes = 1024 * 1024;

}  // namespace

Text decode_page_text(const Text& text, std::optional<bool> convert_from_utf8) {
  const std::string_view in = c_string_view(text);
  if (!convert_from_utf8.value_or(false)) {
    Text out;
    out.reserve(in.size());
    percent_decode(in, 0, in.size(), out);
    return out;
  }
  // Code page 936 never takes more bytes than UTF-8 for the same text, and
  // undoing escapes only shortens it: the input's length is enough room.
  Utf8ToGbk converter(in.size());
  Text piece;
  piece.reserve(kPieceBytes + 4);
  for (size_t i = 0; i < in.size();) {
    i = percent_decode(in, i, kPieceBytes, piece);
    converter.convert(piece, false);
  }
  converter.convert(piece, true);
  return converter.take();
}

Text utf8_to_gbk(const Text& text) {
  const std::string_view in = c_string_view(text);
  Utf8ToGbk converter(in.size());
  Text piece;
  for (size_t i = 0; i < in.size(); i += kPieceBytes) {
    piece.append(in.substr(i, kPieceBytes));
    converter.convert(piece, false);
  }
  converter.convert(piece, true);
  return converter.take();
}

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
