#include "app/program_state.h"

#include "search/page_text.h"

std::int32_t page_counter = 0;

void release_page_text() { page_text.release(); }
