#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "search/page_text.h"

TEST(PageText, AWorkersHoldOutlivesReplacementAndRelease) {
  PageTextSlot slot;
  EXPECT_EQ(slot.current(), nullptr);
  auto first = std::make_shared<const Text>("first page");
  slot.publish(first);
  EXPECT_EQ(slot.current(), first);
  slot.publish(std::make_shared<const Text>("second page"));
  ASSERT_NE(slot.current(), nullptr);
  EXPECT_EQ(*slot.current(), "second page");
  slot.release();
  EXPECT_EQ(slot.current(), nullptr);
  // The worker that published the first text still reads it whole, and the
  // slot no longer holds it.
  EXPECT_EQ(*first, "first page");
  EXPECT_EQ(first.use_count(), 1);
}

// Readers take the slot's text while four workers replace it and a fifth
// thread releases it: every text a reader gets is one worker's text, whole,
// and stays so while the reader holds it (ASan sees any early free). The
// workers go on until the readers have seen 1000 texts (or 10 s have passed).
TEST(PageText, ReadersSeeWholeTextsWhileWorkersReplaceThem) {
  PageTextSlot slot;
  std::atomic<bool> writing{true};
  std::atomic<int> torn{0}, seen{0};
  std::vector<std::thread> readers;
  for (int r = 0; r < 2; ++r) {
    readers.emplace_back([&] {
      while (writing) {
        const PageTextSlot::Handle text = slot.current();
        if (!text) continue;
        ++seen;
        const auto whole = [&] { return text->size() == 100 && *text == Text(100, (*text)[0]); };
        const bool whole_at_first = whole() && (*text)[0] >= 'a' && (*text)[0] <= 'd';
        std::this_thread::yield();
        if (!whole_at_first || !whole()) ++torn;
      }
    });
  }
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  const auto keep_going = [&](int i) {
    return i < 2000 || (seen < 1000 && std::chrono::steady_clock::now() < until);
  };
  std::vector<std::thread> workers;
  for (int w = 0; w < 4; ++w) {
    workers.emplace_back([&, w] {
      for (int i = 0; keep_going(i); ++i) {
        slot.publish(std::make_shared<const Text>(Text(100, static_cast<char>('a' + w))));
      }
    });
  }
  workers.emplace_back([&] {
    for (int i = 0; i < 500; ++i) slot.release();
  });
  for (auto& t : workers) t.join();
  writing = false;
  for (auto& t : readers) t.join();
  EXPECT_EQ(torn, 0);
  EXPECT_GE(seen, 1000);
  // Whichever step came last, the slot holds a whole text or none.
  if (auto last = slot.current()) {
    EXPECT_EQ(*last, Text(100, (*last)[0]));
  }
}
