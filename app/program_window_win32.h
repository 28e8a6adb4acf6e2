#pragma once
// The main window as a window: its class, its creation with every control and
// the created event, the routing of its events, and the message loop.
#include <windows.h>

// Creates the main window with every control and runs its created event.
// Returns null when the window cannot be created.
HWND create_main_window(HINSTANCE instance);

// Runs the message loop until the main window has closed.
int run_message_loop();
