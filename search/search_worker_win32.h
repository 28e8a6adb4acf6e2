#pragma once
// The search worker: fetches one result page and turns its hits into list
// rows and collected records. Runs on a thread of its own.
#include <cstdint>

#include "text/text.h"

// One run for `page` of `keyword`; returns when the page is done.
void search_worker(std::int32_t page, const Text& keyword);

// "http://" + host + "/search/" + keyword + "_ctime_" + page + ".html", the
// keyword byte for byte.
Text search_page_address(const Text& host, const Text& keyword, std::int32_t page);

// The search site's host (and port) the worker asks: the build's
// QUENLIT_SEARCH_HOST, unless a test has pointed the worker elsewhere.
Text search_host();

// Test seam: makes search_host() give `host` from now on; an empty text
// restores the build's host.
void override_search_host_for_testing(const Text& host);

// How many runs of search_worker have ended since start-up, so that a caller
// can tell when the workers it started are all done.
unsigned finished_search_worker_count();
