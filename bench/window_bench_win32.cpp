// Prints what a user feels of a search, in the real main window: the time
// from the click on 搜索 to the final status for a 1000-hit page with 0, 1, 5
// and 10 MB already collected; the longest answer of the window to another
// thread (SendMessageTimeout WM_NULL) while each page arrives; the program's
// private bytes after 10 MB; and a 40 MB page, with where its time goes.
// Pages come from a fixture server on 127.0.0.1.
// Run under Wine like the tests:
//   xvfb-run -a -s "-screen 0 1024x768x24" scripts/wine-run.sh build-win/bench/window_bench_win32.exe
#include <windows.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "app/main_window_win32.h"
#include "app/program_window_win32.h"
#include "app/search_worker_win32.h"
#include "bench/sample_result_page.h"
#include "regex/regex_object.h"
#include "search/page_decoding.h"
#include "search/result_rows.h"
#include "tests/win/fixture_http_server.h"
#include "win32/http_fetch_win32.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

constexpr int kBigPageHits = 200;
constexpr size_t kBigPageBytes = 40u << 20;

// A page of 200 hits padded with file lists to about 40 MB.
std::string big_page() {
  const std::vector<PageHit> hits = sample_hits(kBigPageHits);
  PageOptions options = sample_page_options();
  const std::string filler = u8"<p class=\"files\">蓝色星球 Blue.Planet.S01E01.1080p.BluRay.x264.mkv 4.2 GB</p>";
  const size_t unpadded = result_page(hits, options).size();
  options.filler_lines.assign((kBigPageBytes - unpadded) / kBigPageHits / (filler.size() + 1), filler);
  return result_page(hits, options);
}

std::string serve(const std::string& target, const std::string& small, const std::string& big) {
  const bool wants_big = target.find("/search/big_") == 0;
  return FixtureHttpServer::response(200, "OK", wants_big ? big : small);
}

std::wstring status_text() {
  HWND status = control_handle(Control::StatusLabel);
  wchar_t buffer[128] = {};
  GetWindowTextW(status, buffer, 128);
  return buffer;
}

void pump_once() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Asks the window for an answer from another thread again and again while it
// runs, and keeps the longest wait.
class RoundTripProbe {
public:
  explicit RoundTripProbe(HWND window) : thread_([this, window] {
      while (!stop_) {
        const auto start = Clock::now();
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
        const double waited = ms_since(start);
        double seen = longest_.load();
        while (waited > seen && !longest_.compare_exchange_weak(seen, waited)) {
        }
        Sleep(1);
      }
    }) {}
  ~RoundTripProbe() {
    stop_ = true;
    thread_.join();
  }
  double longest() const { return longest_.load(); }

private:
  std::atomic<bool> stop_{false};
  std::atomic<double> longest_{0};
  std::thread thread_;
};

struct SearchFigures {
  double click_to_done_ms = -1;  // -1: the final status did not come in time
  double longest_round_trip_ms = 0;
};

// Types the keyword, clicks 搜索 and pumps the window's messages until the
// status says the search is done.
SearchFigures search_once(const wchar_t* keyword, int expected_rows) {
  SetWindowTextW(control_handle(Control::KeywordBox), keyword);
  SetWindowTextW(control_handle(Control::PageBox), L"1");
  pump_once();
  const std::wstring done = L"搜索完毕共获取【" + std::to_wstring(expected_rows) + L"】条信息";
  SearchFigures figures;
  const unsigned finished = finished_search_worker_count();
  RoundTripProbe probe(main_window());
  const auto start = Clock::now();
  SendMessageW(control_handle(Control::SearchButton), BM_CLICK, 0, 0);
  while (ms_since(start) < 120000) {
    pump_once();
    if (finished_search_worker_count() > finished && status_text() == done) {
      figures.click_to_done_ms = ms_since(start);
      break;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
  figures.longest_round_trip_ms = probe.longest();
  return figures;
}

// The process's committed private memory, counted region by region (Wine
// leaves GetProcessMemoryInfo's PrivateUsage at 0).
double private_mb() {
  size_t bytes = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
       at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += region.RegionSize;
    if (region.RegionSize == 0) break;
  }
  return bytes / 1048576.0;
}

double collected_mb() { return collected_text().size() / 1048576.0; }

// Where a 40 MB page's time goes, stage by stage, on this thread.
void big_page_stages(const std::string& host) {
  auto start = Clock::now();
  const std::string body = http_get("http://" + host + "/search/big_ctime_1.html");
  const double fetch_ms = ms_since(start);
  start = Clock::now();
  const Text decoded = decode_page_text(body, true);
  const double decode_ms = ms_since(start);
  start = Clock::now();
  std::array<RegexObject, 6> objects;
  for (size_t i = 0; i < objects.size(); ++i) objects[i].create(*field_patterns[i], decoded);
  const double match_ms = ms_since(start);
  std::printf("  stages: fetch %.0f ms (%.1f MB), decode+convert %.0f ms, six patterns %.0f ms (%d titles)\n",
              fetch_ms, body.size() / 1048576.0, decode_ms, match_ms, objects[0].match_count());
}

}  // namespace

int main() {
  const std::string small = sample_result_page(1000);
  const std::string big = big_page();
  FixtureHttpServer server([&](const std::string& target) { return serve(target, small, big); });
  if (!server.listening()) {
    std::printf("no fixture server\n");
    return 1;
  }
  override_search_host_for_testing(server.host());
  HWND window = create_main_window(GetModuleHandleW(nullptr));
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  pump_once();

  std::printf("1000-hit page: %.0f KB\n", small.size() / 1024.0);
  const double private_at_start = private_mb();
  double collected_at_start = collected_mb();
  for (const double wanted_mb : {0.0, 1.0, 5.0, 10.0}) {
    while (collected_mb() < wanted_mb) {
      if (search_once(L"fill", 1000).click_to_done_ms < 0) return 1;
    }
    // Three runs; the median and the worst of each figure. The collected text
    // grows by a fifth of a megabyte a run.
    const double before = collected_mb();
    std::array<double, 3> done{}, round_trip{};
    for (size_t run = 0; run < done.size(); ++run) {
      const SearchFigures figures = search_once(L"bench", 1000);
      done[run] = figures.click_to_done_ms;
      round_trip[run] = figures.longest_round_trip_ms;
    }
    std::sort(done.begin(), done.end());
    std::sort(round_trip.begin(), round_trip.end());
    std::printf("collected %5.1f MB: click -> final status %6.1f ms (worst %6.1f), longest round trip %5.1f ms (worst %5.1f)\n",
                before, done[1], done[2], round_trip[1], round_trip[2]);
  }
  const double gained_mb = collected_mb() - collected_at_start;
  std::printf("private bytes: %.1f MB at start, %.1f MB with %.1f MB collected (%.2f x what was collected)\n",
              private_at_start, private_mb(), collected_mb(), (private_mb() - private_at_start) / gained_mb);

  std::printf("40 MB page (%d hits, %.1f MB):\n", kBigPageHits, big.size() / 1048576.0);
  const SearchFigures figures = search_once(L"big", kBigPageHits);
  std::printf("  click -> final status %.1f ms, longest round trip %.1f ms\n", figures.click_to_done_ms,
              figures.longest_round_trip_ms);
  big_page_stages(server.host());

  DestroyWindow(window);
  pump_once();
  override_search_host_for_testing("");
  ExitProcess(0);
}
