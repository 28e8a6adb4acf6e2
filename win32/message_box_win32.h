#pragma once
// The program's message boxes: no owner window, task-modal, so the windows of
// the calling thread take no input until the box is closed.
#include <windows.h>

#include "text/text.h"

// Shows the box and waits for the answer; returns the button pressed. The
// window that was active gets the activation back, and the control that had
// the focus gets it back.
int message_box(const Text& text, const Text& title, UINT style);
