#pragma once
// A stack kept in fixed blocks that never move: growing touches each byte
// once (no copy into a block twice the size), and blocks stay allocated for
// reuse after pops. The matcher's backtrack frames live in one.
#include <cstddef>
#include <memory>
#include <vector>

template <typename T>
class BlockStack {
public:
  static constexpr size_t kBlockElements = (size_t{1} << 20) / sizeof(T);  // 1 MB blocks

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  size_t held_bytes() const { return blocks_.size() * kBlockElements * sizeof(T); }

  T& back() { return top_[-1]; }
  T& operator[](size_t i) { return blocks_[i / kBlockElements][i % kBlockElements]; }

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
    if (top_ == block_begin() && block_ > 0) {
      --block_;
      top_ = block_end_ = blocks_[block_].get() + kBlockElements;
    }
  }

  // Drops the elements from `count` on.
  void shrink_to(size_t count) {
    while (size_ > count) pop_back();
  }

private:
  T* block_begin() const { return blocks_.empty() ? nullptr : blocks_[block_].get(); }

  bool next_block(size_t byte_limit) {
    const size_t next = blocks_.empty() || size_ == 0 ? 0 : block_ + 1;
    if (next == blocks_.size()) {
      if (held_bytes() + kBlockElements * sizeof(T) > byte_limit) return false;
      // Left uninitialised: a page costs memory only once it is written.
      blocks_.push_back(std::unique_ptr<T[]>(new T[kBlockElements]));
    }
    block_ = next;
    top_ = blocks_[block_].get();
    block_end_ = top_ + kBlockElements;
    return true;
  }

  std::vector<std::unique_ptr<T[]>> blocks_;
  size_t block_ = 0;
  size_t size_ = 0;
  T* top_ = nullptr;
  T* block_end_ = nullptr;
};
