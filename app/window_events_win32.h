#pragma once
// The routines the main window's events are bound to, and the table that binds
// every control event to its routine (window_events_win32.cpp).
#include <windows.h>

#include "app/main_window_win32.h"

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

// How an event reaches the main window: a WM_COMMAND from a control or a menu
// item, a WM_NOTIFY from a control, or a message to the control itself (seen
// before the control handles it; the control still gets it afterwards).
enum class EventVia { Command, Notify, ControlMessage };

// Runs the routine bound to event `code` (a notification code, or a message)
// of `source` (a control id or a menu command); `wparam` is the message's.
// Returns false when no routine is bound to it.
bool dispatch_event(EventVia via, int source, UINT code, WPARAM wparam = 0);
// Whether any message to the control itself is bound (it is then subclassed).
bool has_control_message_events(Control control);
