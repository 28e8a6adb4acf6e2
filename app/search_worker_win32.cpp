#include "app/search_worker_win32.h"

#include <windows.h>

#include <atomic>
#include <memory>

#include "app/main_window_win32.h"
#include "search/page_text.h"
#include "search/search_origin.h"
#include "search/search_worker.h"
#include "win32/http_fetch_win32.h"

namespace {

std::atomic<unsigned> finished_workers{0};

// Lets the worker's own thread process what is waiting for it.
void pump_thread_messages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

struct SearchJob {
  std::int32_t page;
  Text keyword;
};

DWORD WINAPI run_search_job(LPVOID parameter) {
  std::unique_ptr<SearchJob> job(static_cast<SearchJob*>(parameter));
  search_worker(job->page, job->keyword);
  return 0;
}

}  // namespace

void search_worker(std::int32_t page, const Text& keyword) {
  const SearchServices services{search_origin(), http_get, pump_thread_messages, result_window(), page_text};
  run_search(page, keyword, services);
  finished_workers.fetch_add(1);
}

void start_search_thread(std::int32_t page, const Text& keyword) {
  auto job = std::make_unique<SearchJob>(SearchJob{page, keyword});
  HANDLE thread = CreateThread(nullptr, 0, run_search_job, job.get(), 0, nullptr);
  if (!thread) return;
  job.release();  // the thread owns it now
  CloseHandle(thread);
}

void override_search_host_for_testing(const Text& host) { set_search_origin(host.empty() ? Text() : "http://" + host); }

unsigned finished_search_worker_count() { return finished_workers.load(); }
