#include <windows.h>

#include <gtest/gtest.h>

#include "app/main_window_win32.h"
#include "app/program_state.h"
#include "search/page_text.h"
#include "app/commands_win32.h"
#include "app/search_worker_win32.h"
#include "tests/win/fixture_http_server.h"
#include "tests/win/search_test_support.h"
#include "tests/win/window_test_support.h"

namespace {

// Closing never waits for a worker, and what the worker hands over after the
// window has gone is dropped without harm.
TEST(Close, WhileAWorkerFetchesTheWindowGoesAtOnceAndItsLateHitsAreDropped) {
  SearchSiteFixture site;
  site.server().set_answer_delay(1500);
  SetWindowTextW(control_handle(Control::KeywordBox), L"abc");
  const unsigned finished_before = finished_search_worker_count();
  const unsigned dropped_before = dropped_hit_count();
  search_command();
  ASSERT_TRUE(pump_until([&] { return site.server().request_count() == 1; })) << "no request within 10 s";

  HWND window = main_window();
  ASSERT_EQ(request_close(window, IDYES).size(), 1u);
  pump_messages(20);
  EXPECT_FALSE(IsWindow(window));
  // The worker is still waiting for its page: nobody waited for it.
  EXPECT_EQ(finished_search_worker_count(), finished_before);

  // It then finishes against no window at all: both hits of its page are
  // dropped, and none reaches the collected text.
  ASSERT_TRUE(site.wait_for_workers(1)) << "the search did not finish within 20 s";
  EXPECT_EQ(dropped_hit_count() - dropped_before, 2u);
  EXPECT_EQ(collected_text(), "");
  ASSERT_NE(page_text.current(), nullptr);
  EXPECT_FALSE(page_text.current()->empty());
  release_page_text();
  EXPECT_EQ(page_text.current(), nullptr);
}

}  // namespace
