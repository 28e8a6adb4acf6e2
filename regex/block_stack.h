#pragma once
// Storage in blocks that never move: growing touches each byte once (no copy
// into a block twice the size), and a small search takes a small block. The
// first block holds `first` elements, each later one twice the one before,
// up to `first << kDoublings`, which is the size of every block after that.
// The matcher's backtrack frames and an execute's matches live in blocks.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

constexpr size_t kDoublings = 8;

struct BlockPlace {
  size_t block;
  size_t offset;
};

// Elements block number `block` holds.
inline size_t block_elements(size_t block, size_t first) { return first << std::min(block, kDoublings); }

// Where element `i` lies.
inline BlockPlace block_place(size_t i, size_t first) {
  const size_t growing = first * ((size_t{1} << kDoublings) - 1);  // elements in the growing blocks
  if (i < growing) {
    const unsigned long long q = i / first + 1;  // block k holds the q in [2^k, 2^(k+1))
    const size_t k = 63 - static_cast<size_t>(__builtin_clzll(q));
    return {k, i - first * ((size_t{1} << k) - 1)};
  }
  const size_t full = first << kDoublings;
  return {kDoublings + (i - growing) / full, (i - growing) % full};
}

// A stack of trivially copyable T in such blocks; blocks stay allocated for
// reuse after pops.
template <typename T>
class BlockStack {
public:
  static constexpr size_t kFirst = 4096 / sizeof(T);  // a 4 KB first block, 1 MB ones later

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  size_t held_bytes() const { return held_ * sizeof(T); }

  T& back() { return top_[-1]; }
  T& operator[](size_t i) {
    const BlockPlace place = block_place(i, kFirst);
    return blocks_[place.block][place.offset];
  }

  // False (and nothing pushed) when another block would make more than
  // `byte_limit` bytes held.
  bool push_back(const T& value, size_t byte_limit) {
    if (top_ == block_end_ && !next_block(byte_limit)) return false;
    *top_++ = value;
    ++size_;
    return true;
  }

  void pop_back() {
    --top_;
    --size_;
    if (block_ > 0 && top_ == blocks_[block_].get()) {
      --block_;
      top_ = block_end_ = blocks_[block_].get() + block_elements(block_, kFirst);
    }
  }

  // Drops the elements from `count` on.
  void shrink_to(size_t count) {
    while (size_ > count) pop_back();
  }

private:
  bool next_block(size_t byte_limit) {
    const size_t next = size_ == 0 ? 0 : block_ + 1;
    const size_t elements = block_elements(next, kFirst);
    if (next == blocks_.size()) {
      if ((held_ + elements) * sizeof(T) > byte_limit) return false;
      // Left uninitialised: a page costs memory only once it is written.
      blocks_.push_back(std::unique_ptr<T[]>(new T[elements]));
      held_ += elements;
    }
    block_ = next;
    top_ = blocks_[block_].get();
    block_end_ = top_ + elements;
    return true;
  }

  std::vector<std::unique_ptr<T[]>> blocks_;
  size_t held_ = 0;  // elements in the blocks
  size_t block_ = 0;
  size_t size_ = 0;
  T* top_ = nullptr;
  T* block_end_ = nullptr;
};
