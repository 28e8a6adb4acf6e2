#pragma once
// The decoded text of the result page fetched last, shared by every worker.
#include <memory>
#include <mutex>

#include "text/text.h"

// Each worker publishes its own text here and keeps its own hold on it, so a
// text is freed only when neither this slot nor any worker holds it. Replacing
// and releasing are each one step under the slot's lock; nothing else is done
// under it.
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

// The program's page text.
extern PageTextSlot page_text;
