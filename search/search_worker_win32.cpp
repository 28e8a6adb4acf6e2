#include "search/search_worker_win32.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <memory>
#include <string>

#include "app/main_window_win32.h"
#include "app/program_state.h"
#include "regex/regex_object.h"
#include "search/http_fetch_win32.h"
#include "search/page_decoding.h"
#include "search/result_rows.h"
#include "search/search_origin.h"

namespace {

std::atomic<unsigned> finished_workers{0};

// Hands each hit to the window's thread whole, and between hits lets the
// worker's own thread process what is waiting for it.
class WindowResultSink : public ResultSink {
public:
  void add_hit(const ResultHit& hit) override { ui_add_hit(hit); }
  void yield() override {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
};

// The body up to its first zero byte: the page is a NUL-terminated text.
Text text_before_zero(const std::string& body) { return body.substr(0, body.find('\0')); }

}  // namespace

Text search_page_address(const Text& origin, const Text& keyword, std::int32_t page) {
  return origin + "/search/" + keyword + "_ctime_" + std::to_string(page) + ".html";
}

void override_search_host_for_testing(const Text& host) { set_search_origin(host.empty() ? Text() : "http://" + host); }

unsigned finished_search_worker_count() { return finished_workers.load(); }

void search_worker(std::int32_t page, const Text& keyword) {
  {
    std::array<RegexObject, 6> objects;
    ui_clear_list();
    ui_set_status("正在搜索....");

    PageTextSlot::Handle decoded;
    {
      const Text undecoded = text_before_zero(http_get(search_page_address(search_origin(), keyword, page)));
      decoded = std::make_shared<const Text>(decode_page_text(undecoded, true));
    }
    // The worker keeps its own hold: another worker's replacement or the
    // release at exit never frees the text its patterns run over.
    page_text.publish(decoded);

    for (size_t i = 0; i < objects.size(); ++i) objects[i].create(*field_patterns[i], *decoded);
    WindowResultSink sink;
    add_result_rows(objects, sink);

    ui_set_status("搜索完毕共获取【" + std::to_string(ui_row_count()) + "】条信息");

    // Objects go in table order, then the worker's hold on its text.
    for (RegexObject& object : objects) object = RegexObject();
  }
  finished_workers.fetch_add(1);
}
