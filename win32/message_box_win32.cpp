#include "win32/message_box_win32.h"

#include "win32/wide_text_win32.h"

int message_box(const Text& text, const Text& title, UINT style) {
  // A box with no owner does not give the activation back to the window it
  // interrupted, so this does, and puts the focus back where it was.
  HWND focus = GetFocus();
  const int answer = MessageBoxW(nullptr, to_wide(text).c_str(), to_wide(title).c_str(), style | MB_TASKMODAL);
  if (focus && IsWindow(focus)) {
    SetActiveWindow(GetAncestor(focus, GA_ROOT));
    SetFocus(focus);
  }
  return answer;
}
