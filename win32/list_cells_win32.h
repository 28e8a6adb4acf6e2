#pragma once
// Reading a report-style list view's selection and cells.
#include <windows.h>

#include "text/text.h"

// The first selected row of the list in row order, or -1 when none is.
int selected_row(HWND list);
// The text of one cell, read whole whatever its length; empty for a row or a
// list that does not exist.
Text list_cell_text(HWND list, int row, int column);
