#include "regex/literal_search.h"

#include <algorithm>
#include <cstring>

#include "regex/case_folding.h"

namespace {

// How common a character is in the pages searched (HTML, mostly ASCII
// markup around Chinese text): lower is rarer. Any non-ASCII unit is taken
// as rare, an ASCII one by its place in a rough frequency order.
int commonness(char16_t c, bool ignore_case) {
  static const char kByFrequency[] = " etaoinsrhldcu<>\"=/\nmpfgywb.v-k:_x;jqz0123456789";
  if (c >= 0x80) return 0;
  if (ignore_case && c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 0x20);
  const char* at = std::strchr(kByFrequency, static_cast<char>(c));
  if (c != 0 && at != nullptr) return 100 - static_cast<int>(at - kByFrequency);
  // Capitals (when case matters) are rarer than lower case, other ASCII rarer still.
  return (c >= u'A' && c <= u'Z') ? 30 : 20;
}

#if defined(__GNUC__)
// Sixteen units at a time in vector registers (SSE2 on x86-64; GCC and clang
// lower the vector type to whatever the target has).
constexpr size_t kBlock = 16;
typedef std::uint16_t Units8 __attribute__((vector_size(16)));
typedef std::int16_t Mask8 __attribute__((vector_size(16)));  // what comparing two Units8 gives
typedef std::uint64_t Words2 __attribute__((vector_size(16)));

Units8 splat(char16_t c) {
  const std::uint16_t x = c;
  return Units8{x, x, x, x, x, x, x, x};
}

// Whether any of the kBlock units from `p` is `u0` or `u1`.
bool block_has(const char16_t* p, char16_t u0, char16_t u1) {
  Units8 a, b;
  std::memcpy(&a, p, sizeof a);
  std::memcpy(&b, p + 8, sizeof b);
  const Units8 v0 = splat(u0);
  Mask8 hits = (a == v0) | (b == v0);
  if (u1 != u0) {
    const Units8 v1 = splat(u1);
    hits |= (a == v1) | (b == v1);
  }
  const Words2 words = reinterpret_cast<Words2>(hits);
  return (words[0] | words[1]) != 0;
}
#else
// Four units at a time in a 64-bit word.
constexpr size_t kBlock = 4;
constexpr std::uint64_t kLanes = 0x0001000100010001ull;
constexpr std::uint64_t kHighBits = 0x8000800080008000ull;

bool word_has(std::uint64_t word, char16_t unit) {
  const std::uint64_t x = word ^ (kLanes * unit);
  return ((x - kLanes) & ~x & kHighBits) != 0;
}

bool block_has(const char16_t* p, char16_t u0, char16_t u1) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word_has(word, u0) || word_has(word, u1);
}
#endif

}  // namespace

LiteralSearch::LiteralSearch(std::u16string_view literal, bool ignore_case)
    : literal_(literal), ignore_case_(ignore_case) {
  if (literal_.empty()) return;
  int best = 1 << 30;
  for (size_t k = 0; k < literal_.size(); ++k) {
    const int rank = commonness(literal_[k], ignore_case);
    if (rank < best) best = rank, anchor_ = k;
  }
  anchor_units_[0] = literal_[anchor_];
  anchor_units_[1] = ignore_case ? unfold_case(literal_[anchor_]) : literal_[anchor_];
}

size_t LiteralSearch::matching_units(std::u16string_view text, size_t at) const {
  size_t k = 0;
  for (; k < literal_.size(); ++k) {
    const char16_t c = text[at + k];
    if ((ignore_case_ ? fold_case(c) : c) != literal_[k]) break;
  }
  return k;
}

std::int32_t LiteralSearch::find(std::u16string_view text, std::int32_t from, std::int64_t& budget) const {
  const size_t m = literal_.size();
  if (from < 0 || text.size() < m || static_cast<size_t>(from) > text.size() - m) return -1;
  const char16_t u0 = anchor_units_[0], u1 = anchor_units_[1];
  const char16_t* t = text.data();
  // The anchor may stand at q for a literal starting at q - anchor_, up to `end` (exclusive).
  const size_t end = text.size() - m + anchor_ + 1;
  for (size_t q = static_cast<size_t>(from) + anchor_; q < end;) {
    if (q + kBlock <= end && !block_has(t + q, u0, u1)) {
      q += kBlock;
      continue;
    }
    for (const size_t stop = std::min(q + kBlock, end); q < stop; ++q) {
      if (t[q] != u0 && t[q] != u1) continue;
      const size_t k = matching_units(text, q - anchor_);
      budget -= static_cast<std::int64_t>(k) + 1;
      if (k == m) return static_cast<std::int32_t>(q - anchor_);
      if (budget < 0) return -2;
    }
  }
  return -1;
}
