#include "regex/regex_matches.h"

#include <algorithm>

RegexMatches::RegexMatches(int group_count) : stride_(2 * (static_cast<size_t>(group_count) + 1)) {
  // A 1 MB block (or one match) at most, 4 KB first where that leaves room to double.
  const size_t largest = std::max<size_t>(1, (size_t{1} << 20) / sizeof(std::int32_t) / stride_);
  first_block_ = std::max<size_t>(1, largest >> kDoublings);
}

bool RegexMatches::add(const std::int32_t* slots, size_t byte_limit) {
  if (size_ == held_) {
    const size_t matches = block_elements(blocks_.size(), first_block_);
    if ((held_ + matches) * stride_ * sizeof(std::int32_t) > byte_limit) return false;
    // Left uninitialised: a page costs memory only once it is written.
    blocks_.push_back(std::unique_ptr<std::int32_t[]>(new std::int32_t[matches * stride_]));
    held_ += matches;
  }
  const BlockPlace place = block_place(size_, first_block_);
  std::copy(slots, slots + stride_, blocks_[place.block].get() + place.offset * stride_);
  ++size_;
  return true;
}
