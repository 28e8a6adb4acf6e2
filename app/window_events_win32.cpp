#include "app/window_events_win32.h"

#include <commctrl.h>

#include "actions/result_actions_win32.h"
#include "app/commands_win32.h"

namespace {

struct EventBinding {
  EventVia via;
  int source;  // a control id or a menu command
  UINT code;   // a notification code, or a message
  void (*handler)(const EventContext& context);
};

bool held(int virtual_key) { return GetKeyState(virtual_key) < 0; }

// A key pressed in the keyword box. With Alt held it arrives as a system key.
// The handler gives no verdict: the key goes on to the box as usual.
void keyword_key(const EventContext& context) {
  handle_keyword_key(static_cast<unsigned>(context.wparam), held(VK_SHIFT), held(VK_CONTROL), held(VK_MENU));
}

// Every control event the window handles and its routine; no other event of
// any control has one.
const EventBinding kEvents[] = {
    {EventVia::Command, control_id(Control::SearchButton), BN_CLICKED, [](const EventContext&) { search_command(); }},
    {EventVia::Command, control_id(Control::NextPage), BN_CLICKED, [](const EventContext&) { next_page_command(); }},
    {EventVia::Command, control_id(Control::PreviousPage), BN_CLICKED,
     [](const EventContext&) { previous_page_command(); }},
    {EventVia::ControlMessage, control_id(Control::KeywordBox), WM_KEYDOWN, keyword_key},
    {EventVia::ControlMessage, control_id(Control::KeywordBox), WM_SYSKEYDOWN, keyword_key},
    {EventVia::Command, control_id(Control::KeywordBox), EN_CHANGE, [](const EventContext&) { handle_keyword_edit(); }},
    // The menu comes first; the list receives the press once the menu has closed.
    {EventVia::ControlMessage, control_id(Control::ResultList), WM_RBUTTONDOWN,
     [](const EventContext& c) { show_result_menu(c.results); }},
    {EventVia::Notify, control_id(Control::ResultList), NM_DBLCLK,
     [](const EventContext& c) { copy_selected_hash(c.results); }},
    {EventVia::Command, kMenuOpenMagnet, 0, [](const EventContext& c) { open_selected_magnet(c.results); }},
    {EventVia::Command, kMenuCopyHash, 0, [](const EventContext& c) { copy_selected_hash(c.results); }},
    {EventVia::Command, kMenuExportAll, 0, [](const EventContext& c) { export_collected_text(c.results); }},
};

}  // namespace

bool dispatch_event(EventVia via, int source, UINT code, const EventContext& context) {
  for (const EventBinding& event : kEvents) {
    if (event.via == via && event.source == source && event.code == code) {
      event.handler(context);
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
