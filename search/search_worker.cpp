#include "search/search_worker.h"

#include <array>
#include <chrono>
#include <memory>
#include <utility>
#include <vector>

#include "regex/regex_object.h"
#include "search/page_decoding.h"
#include "search/result_rows.h"

namespace {

// Hands hits to the window a batch at a time: a hit waits at most a frame
// (16 ms) before it is handed on with whatever came after it, and the rest go
// at the end. A page's hits are usually read within a frame, so the window
// takes the whole page in one change and repaints once. Each hit stays whole
// within its batch.
class BatchingSink : public ResultSink {
public:
  explicit BatchingSink(const SearchServices& services) : services_(services) {}
  ~BatchingSink() override { flush(); }

  void add_hit(ResultHit hit) override {
    if (pending_.empty()) oldest_pending_ = Clock::now();
    pending_.push_back(std::move(hit));
    if (Clock::now() - oldest_pending_ >= kFrame) flush();
  }
  void yield() override { services_.yield(); }

  void flush() {
    if (pending_.empty()) return;
    std::vector<ResultHit> batch;
    batch.swap(pending_);
    services_.window.add_hits(std::move(batch));
  }

private:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kFrame{16};

  const SearchServices& services_;
  std::vector<ResultHit> pending_;
  Clock::time_point oldest_pending_;
};

// The body up to its first zero byte: the page is a NUL-terminated text.
Text text_before_zero(std::string body) {
  body.resize(std::char_traits<char>::length(body.c_str()));
  return body;
}

}  // namespace

Text search_page_address(const Text& origin, const Text& keyword, std::int32_t page) {
  return origin + "/search/" + keyword + "_ctime_" + std::to_string(page) + ".html";
}

void run_search(std::int32_t page, const Text& keyword, const SearchServices& services) {
  std::array<RegexObject, 6> objects;
  services.window.clear_list();
  services.window.set_status("正在搜索....");

  PageTextSlot::Handle decoded;
  {
    const Text undecoded = text_before_zero(services.fetch(search_page_address(services.origin, keyword, page)));
    decoded = std::make_shared<const Text>(decode_page_text(undecoded, true));
  }
  // The worker keeps its own hold: another worker's replacement or the
  // release at exit never frees the text its patterns run over.
  services.page_text.publish(decoded);

  for (size_t i = 0; i < objects.size(); ++i) objects[i].create(*field_patterns[i], decoded);
  {
    BatchingSink sink(services);
    add_result_rows(objects, sink);
  }

  services.window.set_status("搜索完毕共获取【" + std::to_string(services.window.row_count()) + "】条信息");

  // Objects go in table order, then the worker's hold on its text.
  for (RegexObject& object : objects) object = RegexObject();
}
