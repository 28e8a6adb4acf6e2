#pragma once
// Reading and writing the text of a window or control as the program's texts.
#include <windows.h>

#include "text/text.h"

// The whole text; the empty text for no window.
Text window_text(HWND window);
void set_window_text(HWND window, const Text& text);
