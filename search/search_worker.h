#pragma once
// The search worker: fetches one result page and turns its hits into list
// rows and collected records. Platform-free: the program hands it the fetch,
// the window and the way its thread yields.
#include <cstdint>
#include <functional>
#include <string>

#include "search/page_text.h"
#include "search/result_window.h"
#include "text/text.h"

// What one run needs from the program around it.
struct SearchServices {
  Text origin;  // scheme, host and optional port of the search site: "http://host:port"
  // HTTP GET of an address: the body's bytes, or none.
  std::function<std::string(const Text& address)> fetch;
  // Processes what is waiting for the worker's own thread; runs between hits.
  std::function<void()> yield;
  ResultWindow& window;
  PageTextSlot& page_text;
};

// origin + "/search/" + keyword + "_ctime_" + page + ".html", the keyword
// byte for byte.
Text search_page_address(const Text& origin, const Text& keyword, std::int32_t page);

// One run for `page` of `keyword`; returns when the page is done.
void run_search(std::int32_t page, const Text& keyword, const SearchServices& services);
