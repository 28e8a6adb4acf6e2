#pragma once
// The matches an execute collects: each match's capture slots, stored one
// after the other in blocks that never move.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "regex/block_stack.h"

// One match, a view into its RegexMatches: where it starts (in code units)
// and its groups' extents.
struct RegexMatch {
  // slots[2k], slots[2k+1]: start and end of group k (0: the whole match);
  // -1 for a group that took no part.
  const std::int32_t* slots;

  std::int32_t index() const { return slots[0]; }
  std::int32_t length() const { return slots[1] - slots[0]; }
  bool group_matched(int group) const { return slots[2 * group] >= 0; }
};

// The matches of one execute, their slots stored one after the other in
// blocks that never move (see block_stack.h): 4 KB first, 1 MB at most, or
// one match each when a match is larger.
class RegexMatches {
public:
  explicit RegexMatches(int group_count = 0);

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  RegexMatch operator[](size_t i) const {
    const BlockPlace place = block_place(i, first_block_);
    return RegexMatch{blocks_[place.block].get() + place.offset * stride_};
  }
  RegexMatch back() const { return (*this)[size_ - 1]; }
  // False when a bound was reached: the collection ended before the text
  // did, or a line had its share of steps and was skipped.
  bool complete() const { return complete_; }
  // Bytes held.
  size_t held_bytes() const { return held_ * stride_ * sizeof(std::int32_t); }
  // Appends a match (its 2 * (group_count + 1) slots) unless that would make
  // more than `byte_limit` bytes held.
  bool add(const std::int32_t* slots, size_t byte_limit);

  class iterator {
  public:
    iterator(const RegexMatches* matches, size_t i) : matches_(matches), i_(i) {}
    RegexMatch operator*() const { return (*matches_)[i_]; }
    iterator& operator++() {
      ++i_;
      return *this;
    }
    bool operator!=(const iterator& other) const { return i_ != other.i_; }

  private:
    const RegexMatches* matches_;
    size_t i_;
  };
  iterator begin() const { return iterator(this, 0); }
  iterator end() const { return iterator(this, size()); }

private:
  friend class CompiledRegex;
  size_t stride_;       // slots per match
  size_t first_block_;  // matches in the first block
  std::vector<std::unique_ptr<std::int32_t[]>> blocks_;
  size_t held_ = 0;     // matches the blocks have room for
  size_t size_ = 0;
  bool complete_ = true;
};
