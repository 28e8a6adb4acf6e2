#pragma once
// Letter case for matching without regard to case: every code unit maps to a
// canonical (upper-case) form; two units match when their forms are equal.
// Covers ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and the full-width
// Latin letters, where each letter has exactly one partner in the other case
// (letters with a third form, such as the final sigma, the dotted and the
// dotless i, keep to themselves).
//
// One table says it, read one way to fold and the other way to unfold.
#include <array>
#include <cstddef>
#include <cstdint>

// Lower-case letters from `first` to `last` (every unit, or every other one
// where the two cases alternate) whose upper-case partners are `delta` away.
struct CaseRange {
  char16_t first;
  char16_t last;
  std::int32_t delta;
  std::uint8_t step;

  constexpr char16_t upper_first() const { return static_cast<char16_t>(first + delta); }
  constexpr char16_t upper_last() const { return static_cast<char16_t>(last + delta); }
};

// Sorted by `first`.
inline constexpr CaseRange kCaseRangeList[] = {
    {u'a', u'z', -0x20, 1},
    {0xE0, 0xF6, -0x20, 1},  // Latin-1, around the division sign
    {0xF8, 0xFE, -0x20, 1},
    {0xFF, 0xFF, 0x178 - 0xFF, 1},  // y with diaeresis, whose capital is in Latin Extended-A
    {0x101, 0x12F, -1, 2},  // Latin Extended-A: upper case on even units...
    {0x133, 0x137, -1, 2},
    {0x13A, 0x148, -1, 2},  // ... then on odd ones ...
    {0x14B, 0x177, -1, 2},  // ... even again ...
    {0x17A, 0x17E, -1, 2},  // ... and odd
    {0x3AC, 0x3AC, 0x386 - 0x3AC, 1},  // Greek with tonos
    {0x3AD, 0x3AF, 0x388 - 0x3AD, 1},
    {0x3B1, 0x3C1, -0x20, 1},  // Greek, around the final sigma
    {0x3C3, 0x3CB, -0x20, 1},  // (with dialytika at the end)
    {0x3CC, 0x3CC, 0x38C - 0x3CC, 1},
    {0x3CD, 0x3CE, 0x38E - 0x3CD, 1},
    {0x430, 0x44F, -0x20, 1},  // Cyrillic
    {0x450, 0x45F, -0x50, 1},
    {0xFF41, 0xFF5A, -0x20, 1},  // full-width Latin
};
constexpr size_t kCaseRangeCount = sizeof kCaseRangeList / sizeof kCaseRangeList[0];
using CaseRanges = std::array<CaseRange, kCaseRangeCount>;

// The list sorted by `key` (by `first` it already is).
template <typename Key>
constexpr CaseRanges sorted_case_ranges(Key key) {
  CaseRanges ranges{};
  for (size_t i = 0; i < kCaseRangeCount; ++i) {
    ranges[i] = kCaseRangeList[i];
    for (size_t j = i; j > 0 && key(ranges[j]) < key(ranges[j - 1]); --j) {
      const CaseRange swap = ranges[j];
      ranges[j] = ranges[j - 1];
      ranges[j - 1] = swap;
    }
  }
  return ranges;
}
inline constexpr CaseRanges kCaseRanges = sorted_case_ranges([](const CaseRange& r) { return r.first; });
// The same ranges in the order of their upper-case partners, for unfolding.
inline constexpr CaseRanges kCaseRangesByUpper = sorted_case_ranges([](const CaseRange& r) { return r.upper_first(); });

// The range among `ranges` (sorted by what `from` gives) that holds `c` on
// the side `from` and `to` read, or null.
template <typename First, typename Last>
constexpr const CaseRange* find_case_range(const CaseRanges& ranges, char16_t c, First from, Last to) {
  size_t low = 0, high = ranges.size();
  while (low < high) {  // the first range whose last unit is at or after c
    const size_t mid = (low + high) / 2;
    if (to(ranges[mid]) < c) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  if (low == ranges.size() || from(ranges[low]) > c) return nullptr;
  const CaseRange& r = ranges[low];
  return (c - from(r)) % r.step == 0 ? &r : nullptr;
}

inline char16_t fold_case(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
  // Between the last two ranges lies most text (Chinese among it): one comparison settles it.
  if (c > kCaseRanges[kCaseRangeCount - 2].last && c < kCaseRanges[kCaseRangeCount - 1].first) return c;
  const CaseRange* r = find_case_range(
      kCaseRanges, c, [](const CaseRange& x) { return x.first; }, [](const CaseRange& x) { return x.last; });
  return r && r->delta != 0 ? static_cast<char16_t>(c + r->delta) : c;
}

// The lower-case partner of a canonical form (the unit itself when it has none).
inline char16_t unfold_case(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 0x20) : c;
  if (c > kCaseRangesByUpper[kCaseRangeCount - 2].upper_last() &&
      c < kCaseRangesByUpper[kCaseRangeCount - 1].upper_first()) {
    return c;
  }
  const CaseRange* r = find_case_range(
      kCaseRangesByUpper, c, [](const CaseRange& x) { return x.upper_first(); },
      [](const CaseRange& x) { return x.upper_last(); });
  return r && r->delta != 0 ? static_cast<char16_t>(c - r->delta) : c;
}
