#pragma once
// The main window's private messages. Workers send them (SendMessage), so each
// change is carried out whole on the window's thread while the worker waits;
// the window's thread itself never waits on a worker.
#include <windows.h>

enum AppMessage : UINT {
  WM_APP_CLEAR_LIST = WM_APP + 1,  // remove all rows
  WM_APP_ROW_COUNT,                // result: number of rows
  WM_APP_SET_STATUS,               // lParam: const Text*, the status line's new text
  WM_APP_ADD_HITS,                 // lParam: std::vector<ResultHit>*, hits taken over in order, each whole;
                                   // result: 1 when they were taken over
};
