#pragma once
// The table that binds every control event of the main window to its routine
// (window_events_win32.cpp), and the dispatch through it.
#include <windows.h>

#include "actions/result_view.h"
#include "app/controls.h"

// How an event reaches the main window: a WM_COMMAND from a control or a menu
// item, a WM_NOTIFY from a control, or a message to the control itself (seen
// before the control handles it; the control still gets it afterwards).
enum class EventVia { Command, Notify, ControlMessage };

// What a routine may need of the event: the message's wParam, and the result
// list and collected text the actions work on.
struct EventContext {
  WPARAM wparam;
  ResultView& results;
};

// Runs the routine bound to event `code` (a notification code, or a message)
// of `source` (a control id or a menu command). Returns false when no routine
// is bound to it.
bool dispatch_event(EventVia via, int source, UINT code, const EventContext& context);
// Whether any message to the control itself is bound (it is then subclassed).
bool has_control_message_events(Control control);
