#pragma once
// The main window's created event and its close request.

// Puts the first page number in place.
void handle_window_created();
// Asks "是否退出？"; the verdict: true closes the window, false keeps it open.
bool handle_close_request();
