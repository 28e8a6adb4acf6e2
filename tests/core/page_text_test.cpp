#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "search/page_text.h"

TEST(PageText, AWorkersHoldOutlivesReplacementAndRelease) {
  PageTextSlot slot;
  EXPECT_EQ(slot.current(), nullptr);
  auto first = std::make_shared<const Text>("first page");
  slot.publish(first);
  slot.publish(std::make_shared<const Text>("second page"));
  slot.release();
  EXPECT_EQ(slot.current(), nullptr);
  // The worker that published the first text still reads it whole.
  EXPECT_EQ(*first, "first page");
  EXPECT_EQ(first.use_count(), 1);
}

TEST(PageText, ConcurrentPublishersLeaveOneWholeText) {
  PageTextSlot slot;
  std::vector<std::thread> workers;
  for (int w = 0; w < 4; ++w) {
    workers.emplace_back([&slot, w] {
      for (int i = 0; i < 2000; ++i) {
        auto mine = std::make_shared<const Text>(Text(100, static_cast<char>('a' + w)));
        slot.publish(mine);
        ASSERT_EQ(*mine, Text(100, static_cast<char>('a' + w)));
      }
    });
  }
  std::thread releaser([&slot] {
    for (int i = 0; i < 500; ++i) slot.release();
  });
  for (auto& t : workers) t.join();
  releaser.join();
  // Whichever step came last, the slot holds a whole text or none.
  if (auto last = slot.current()) {
    EXPECT_EQ(*last, Text(100, (*last)[0]));
  }
}
