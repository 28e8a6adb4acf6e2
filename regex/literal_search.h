#pragma once
// The fast search for a literal that every match starts with: the places
// worth trying a pattern at. It looks for the literal's rarest character
// many code units at a time and checks the whole literal only where that
// character occurs.
#include <cstdint>
#include <string>
#include <string_view>

class LiteralSearch {
public:
  LiteralSearch() = default;
  // `literal` is in canonical (folded) form when case is ignored.
  LiteralSearch(std::u16string_view literal, bool ignore_case);

  bool empty() const { return literal_.empty(); }

  // The first position at or after `from` where the literal occurs; -1 when
  // there is none. Each unit compared where the rarest character turns up
  // counts one off `budget` (a long literal checked at many places is slow
  // work); -2 when the budget runs out first.
  std::int32_t find(std::u16string_view text, std::int32_t from, std::int64_t& budget) const;

private:
  // How many leading units of the literal match at `at`.
  size_t matching_units(std::u16string_view text, size_t at) const;

  std::u16string literal_;
  bool ignore_case_ = false;
  size_t anchor_ = 0;                  // index of the character searched for
  char16_t anchor_units_[2] = {0, 0};  // the units it may be in the text (both cases when case is ignored)
};
