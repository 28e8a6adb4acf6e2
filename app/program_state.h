#pragma once
// The program-wide values the window's thread keeps.
#include <cstdint>

// The page asked for by the last search command. Read and written only on the
// window's thread; a worker gets its value as an argument.
extern std::int32_t page_counter;

// Drops the program's hold on the page text (search/page_text.h); runs once
// the message loop has ended, just before the process exits.
void release_page_text();
