#include "search/page_text.h"

#include <utility>

PageTextSlot page_text;

void PageTextSlot::publish(Handle text) {
  Handle previous;
  {
    std::lock_guard<std::mutex> hold(lock_);
    previous = std::exchange(text_, std::move(text));
  }
  // `previous` is freed here, outside the lock, if no worker still holds it.
}

void PageTextSlot::release() { publish(nullptr); }

PageTextSlot::Handle PageTextSlot::current() const {
  std::lock_guard<std::mutex> hold(lock_);
  return text_;
}
