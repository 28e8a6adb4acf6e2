#pragma once
// Where the search worker asks for result pages: a scheme, the search site's
// host and an optional port, with no path ("http://127.0.0.1:8765",
// "https://example.org"). Set once at start-up from the settings file; until
// then, and without one, the build's QUENLIT_SEARCH_HOST over http.
#include "text/text.h"

// "http://" + QUENLIT_SEARCH_HOST.
Text default_search_origin();

// The origin in force. Safe to call from any thread.
Text search_origin();

// Makes search_origin() give `origin` from now on; an empty text brings back
// the default.
void set_search_origin(const Text& origin);
