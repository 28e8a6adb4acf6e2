#include "app/window_events_win32.h"

#include <commctrl.h>

#include "actions/result_actions_win32.h"

namespace {

struct EventBinding {
  EventVia via;
  int source;  // a control id or a menu command
  UINT code;   // a notification code, or a message
  void (*handler)(WPARAM wparam);
};

bool held(int virtual_key) { return GetKeyState(virtual_key) < 0; }

// A key pressed in the keyword box. With Alt held it arrives as a system key.
// The handler gives no verdict: the key goes on to the box as usual.
void keyword_key(WPARAM virtual_key) {
  handle_keyword_key(static_cast<unsigned>(virtual_key), held(VK_SHIFT), held(VK_CONTROL), held(VK_MENU));
}

int id(Control control) { return control_id(control); }

// Every control event the window handles and its routine; no other event of
// any control has one.
const EventBinding kEvents[] = {
    {EventVia::Command, id(Control::SearchButton), BN_CLICKED, [](WPARAM) { search_command(); }},
    {EventVia::Command, id(Control::NextPage), BN_CLICKED, [](WPARAM) { next_page_command(); }},
    {EventVia::Command, id(Control::PreviousPage), BN_CLICKED, [](WPARAM) { previous_page_command(); }},
    {EventVia::ControlMessage, id(Control::KeywordBox), WM_KEYDOWN, keyword_key},
    {EventVia::ControlMessage, id(Control::KeywordBox), WM_SYSKEYDOWN, keyword_key},
    {EventVia::Command, id(Control::KeywordBox), EN_CHANGE, [](WPARAM) { handle_keyword_edit(); }},
    // The menu comes first; the list receives the press once the menu has closed.
    {EventVia::ControlMessage, id(Control::ResultList), WM_RBUTTONDOWN,
     [](WPARAM) { show_result_menu(result_view()); }},
    {EventVia::Notify, id(Control::ResultList), NM_DBLCLK, [](WPARAM) { copy_selected_hash(result_view()); }},
    {EventVia::Command, kMenuOpenMagnet, 0, [](WPARAM) { open_selected_magnet(result_view()); }},
    {EventVia::Command, kMenuCopyHash, 0, [](WPARAM) { copy_selected_hash(result_view()); }},
    {EventVia::Command, kMenuExportAll, 0, [](WPARAM) { export_collected_text(result_view()); }},
};

}  // namespace

bool dispatch_event(EventVia via, int source, UINT code, WPARAM wparam) {
  for (const EventBinding& event : kEvents) {
    if (event.via == via && event.source == source && event.code == code) {
      event.handler(wparam);
      return true;
    }
  }
  return false;
}

bool has_control_message_events(Control control) {
  for (const EventBinding& event : kEvents) {
    if (event.via == EventVia::ControlMessage && event.source == control_id(control)) return true;
  }
  return false;
}
