#pragma once
// The two program-wide values.
#include <cstdint>
#include <memory>
#include <mutex>

#include "text/text.h"

// The page asked for by the last search command. Read and written only on the
// window's thread; a worker gets its value as an argument.
extern std::int32_t page_counter;

// The decoded text of the result page fetched last. Each worker publishes its
// own text here and keeps its own hold on it, so a text is freed only when
// neither this slot nor any worker holds it. Replacing and releasing are each
// one step under the slot's lock; nothing else is done under it.
class PageTextSlot {
public:
  using Handle = std::shared_ptr<const Text>;

  void publish(Handle text);
  void release();
  Handle current() const;

private:
  mutable std::mutex lock_;
  Handle text_;
};

extern PageTextSlot page_text;

// Runs once the message loop has ended, just before the process exits.
void release_page_text();
