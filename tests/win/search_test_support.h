#pragma once
// A search site inside the test: the main window, a fixture HTTP server that
// serves result pages in the site's layout, and the worker pointed at it.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window_win32.h"
#include "app/search_worker_win32.h"
#include "tests/support/result_page.h"
#include "tests/win/fixture_http_server.h"
#include "tests/win/fixture_pages.h"
#include "tests/win/window_test_support.h"
#include "win32/wide_text_win32.h"

// The main window with the worker pointed at a fixture server; waits at the
// end for every worker it started, so none outlives its test.
class SearchSiteFixture {
public:
  explicit SearchSiteFixture(FixtureHttpServer::Responder responder = serve_fixture_pages)
      : server_(std::move(responder)), finished_before_(finished_search_worker_count()) {
    override_search_host_for_testing(server_.host());
  }
  ~SearchSiteFixture() {
    wait_for_workers(0);
    override_search_host_for_testing("");
  }

  FixtureHttpServer& server() { return server_; }

  // Pumps the window's messages until `more` further workers have ended
  // (counted from the last wait); false when they did not in time.
  bool wait_for_workers(unsigned more, int milliseconds = 20000) {
    expected_ += more;
    const unsigned target = finished_before_ + expected_;
    const bool done = pump_until([&] { return finished_search_worker_count() >= target; }, milliseconds);
    pump_messages(20);
    return done;
  }

private:
  MainWindowFixture window_;
  FixtureHttpServer server_;
  unsigned finished_before_;
  unsigned expected_ = 0;
};

// A cell of the result list as the list view gives it to anyone who asks
// (LVM_GETITEMTEXTW), read without the program's own cell reader.
inline std::wstring wide_list_cell(int row, int column) {
  wchar_t text[1024] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 1024;
  const LRESULT length = SendMessageW(control_handle(Control::ResultList), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                      reinterpret_cast<LPARAM>(&item));
  return std::wstring(text, static_cast<size_t>(length > 0 ? length : 0));
}

inline int list_rows() {
  return static_cast<int>(SendMessageW(control_handle(Control::ResultList), LVM_GETITEMCOUNT, 0, 0));
}

// Whether this runs under Wine, whose HttpOpenRequest writes a space in the
// path as %20 where Windows sends it as it is.
inline bool running_under_wine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
