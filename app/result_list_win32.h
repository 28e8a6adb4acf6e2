#pragma once
// The result list 超级列表框1: a virtual report list whose cells are drawn
// from the window's ResultStore, so adding a page of hits costs the window
// one change of the list's length rather than a row and seven cells each.
#include <windows.h>

#include <commctrl.h>

#include "app/result_store.h"

// Extended styles, colours and the seven columns.
void set_up_result_list(HWND list);
// Tells the list how many rows it has now; it repaints only rows in view.
void show_row_count(HWND list, int rows);
// Answers the list's LVN_GETDISPINFOW: the text of the cell it asks for.
void fill_result_cell(NMLVDISPINFOW& request, const ResultStore& results);
