#include "search/search_origin.h"

#include <mutex>

namespace {

std::mutex origin_lock;
Text chosen_origin;

}  // namespace

Text default_search_origin() { return Text("http://") + QUENLIT_SEARCH_HOST; }

Text search_origin() {
  std::lock_guard<std::mutex> hold(origin_lock);
  return chosen_origin.empty() ? default_search_origin() : chosen_origin;
}

void set_search_origin(const Text& origin) {
  std::lock_guard<std::mutex> hold(origin_lock);
  chosen_origin = origin;
}
