// Search and page commands: not wired up yet.
#include "app/window_events_win32.h"

void search_command() {}
void next_page_command() {}
void previous_page_command() {}
void handle_keyword_key(unsigned, bool, bool, bool) {}
void handle_keyword_edit() {}
