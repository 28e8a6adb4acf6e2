#pragma once
// The search worker as the program runs it: on a thread of its own, fetching
// through WinINet from the search origin and handing its hits to the main window.
#include <cstdint>

#include "text/text.h"

// One run for `page` of `keyword` on the calling thread; returns when the page is done.
void search_worker(std::int32_t page, const Text& keyword);

// Starts search_worker on a new thread and returns at once; nothing waits for it.
void start_search_thread(std::int32_t page, const Text& keyword);

// Test seam: points the worker at "http://" + `host` from now on; an empty
// text brings back the default origin.
void override_search_host_for_testing(const Text& host);

// How many runs of search_worker have ended since start-up, so that a caller
// can tell when the workers it started are all done.
unsigned finished_search_worker_count();
