#include "text/replace_text.h"

#include <cstring>

namespace {

bool is_lead_byte(unsigned char byte) { return byte >= 0x80; }

unsigned char fold_ascii(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// Whether `find` occurs at `at`. Only single-byte letters fold: the second
// byte of a double-byte character may be an ASCII letter's byte, and folding
// it would take two different characters for one.
bool occurs_at(const unsigned char* at, const Text& find, bool case_sensitive) {
  const auto* f = reinterpret_cast<const unsigned char*>(find.data());
  const size_t n = find.size();
  if (case_sensitive) return std::memcmp(at, f, n) == 0;
  for (size_t k = 0; k < n;) {
    if (is_lead_byte(f[k])) {
      if (at[k] != f[k]) return false;
      if (k + 1 < n && at[k + 1] != f[k + 1]) return false;
      k += 2;
    } else {
      if (fold_ascii(at[k]) != fold_ascii(f[k])) return false;
      ++k;
    }
  }
  return true;
}

}  // namespace

Text replace_text(const Text& text, const Text& find, const Text& replacement, size_t start_offset,
                  std::optional<int> count, bool case_sensitive) {
  if (text.empty() || find.empty() || start_offset >= text.size()) return text;
  if (count && *count <= 0) return text;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const size_t length = text.size();
  Text out(text, 0, start_offset);
  size_t pos = start_offset;
  long made = 0;
  while (length - pos >= find.size()) {
    if (count && made == *count) break;
    if (occurs_at(bytes + pos, find, case_sensitive)) {
      out += replacement;
      pos += find.size();
      ++made;
      continue;
    }
    const size_t step = (is_lead_byte(bytes[pos]) && pos + 1 < length) ? 2 : 1;
    out.append(text, pos, step);
    pos += step;
  }
  out.append(text, pos, Text::npos);
  return out;
}
