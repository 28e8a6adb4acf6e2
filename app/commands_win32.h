#pragma once
// The search and page commands and the keyword box's handlers: each settles
// the page number and starts one worker; nothing here waits for a worker.

void search_command();
void next_page_command();
void previous_page_command();
void handle_keyword_key(unsigned virtual_key, bool shift, bool ctrl, bool alt);
void handle_keyword_edit();
