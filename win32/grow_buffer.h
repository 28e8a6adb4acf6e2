#pragma once
// The "ask, and ask again with a larger buffer until the answer fits" loop
// that many Win32 calls need, written once.
#include <cstddef>
#include <optional>

// How one try went: the answer fits (its length), it needs a buffer of at
// least `length` units (0: just larger), or the call failed.
struct BufferTry {
  enum Outcome { Fits, TooSmall, Failed } outcome;
  std::size_t length = 0;

  static BufferTry fits(std::size_t length) { return {Fits, length}; }
  static BufferTry too_small(std::size_t needed = 0) { return {TooSmall, needed}; }
  static BufferTry failed() { return {Failed, 0}; }
};

// Calls `attempt(buffer)` with `initial` units, then with at least twice as
// many (or as many as it asked for) each time it says TooSmall, up to `limit`
// units. Gives the buffer cut to the answer's length, or nullopt when the call
// failed or would need more than `limit`.
template <typename Buffer, typename Attempt>
std::optional<Buffer> read_into_growing_buffer(std::size_t initial, std::size_t limit, Attempt attempt) {
  Buffer buffer(initial, typename Buffer::value_type());
  for (;;) {
    const BufferTry result = attempt(buffer);
    if (result.outcome == BufferTry::Fits) {
      buffer.resize(result.length);
      return buffer;
    }
    if (result.outcome == BufferTry::Failed || buffer.size() >= limit) return std::nullopt;
    std::size_t next = buffer.size() * 2;
    if (result.length > next) next = result.length;
    if (next > limit) next = limit;
    buffer.assign(next, typename Buffer::value_type());
  }
}
