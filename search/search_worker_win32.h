#pragma once
// The search worker: fetches one result page and turns its hits into list
// rows and collected records. Runs on a thread of its own.
#include <cstdint>

#include "text/text.h"

// One run for `page` of `keyword`; returns when the page is done.
void search_worker(std::int32_t page, const Text& keyword);

// origin + "/search/" + keyword + "_ctime_" + page + ".html", the keyword
// byte for byte; the origin is search_origin() ("http://host:port").
Text search_page_address(const Text& origin, const Text& keyword, std::int32_t page);

// Test seam: points the worker at "http://" + `host` from now on; an empty
// text brings back the default origin.
void override_search_host_for_testing(const Text& host);

// How many runs of search_worker have ended since start-up, so that a caller
// can tell when the workers it started are all done.
unsigned finished_search_worker_count();
