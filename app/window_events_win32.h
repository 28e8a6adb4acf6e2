#pragma once
// The routines the main window's events are bound to.

// Start-up and close.
void handle_window_created();
// The verdict: true closes the window, false keeps it open.
bool handle_close_request();

// Search and page commands.
void search_command();
void next_page_command();
void previous_page_command();
void handle_keyword_key(unsigned virtual_key, bool shift, bool ctrl, bool alt);
void handle_keyword_edit();

// Result actions.
void show_result_menu();
void copy_selected_hash();
void open_selected_magnet();
void export_collected_text();
