#include "app/main_window_win32.h"

#include <commctrl.h>

#include <array>
#include <atomic>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "app/app_messages_win32.h"
#include "app/result_list_win32.h"
#include "app/result_store.h"
#include "win32/handles_win32.h"
#include "win32/list_cells_win32.h"
#include "win32/wide_text_win32.h"
#include "win32/window_text_win32.h"

const char kWindowCaption[] = "Quenlit BY：Dolventh";

namespace {


enum class FontKind { Gui, Px14 };

struct ControlSpec {
  const char* design_name;  // the control's name in the window design
  const wchar_t* window_class;
  DWORD style;
  DWORD ex_style;
  int x, y, width, height;
  const char* text;
  FontKind font;
};

constexpr DWORD kEditStyle = WS_CHILD | WS_TABSTOP | ES_LEFT;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER;

// Creation order, places, sizes and texts of the controls (see Control).
const std::array<ControlSpec, static_cast<size_t>(Control::Count)> kControls = {{
    {"透明标签1", WC_STATICW, WS_CHILD | WS_VISIBLE | SS_CENTER, WS_EX_TRANSPARENT,
     218, 297, 182, 16, "多次点击下一页可批量搜索", FontKind::Gui},
    {"标签3", WC_STATICW, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, 0,
     70, 297, 17, 15, "页", FontKind::Gui},
    {"标签2", WC_STATICW, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, 0,
     5, 297, 19, 15, " 第", FontKind::Gui},
    {"下一页", WC_BUTTONW, kButtonStyle, 0, 540, 293, 72, 20, "下一页", FontKind::Gui},
    {"上一页", WC_BUTTONW, kButtonStyle, 0, 459, 293, 72, 20, "上一页", FontKind::Gui},
    {"编辑框1", WC_EDITW, kEditStyle | WS_VISIBLE | ES_CENTER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
     30, 294, 34, 18, "", FontKind::Gui},
    {"按钮_搜索", WC_BUTTONW, kButtonStyle, 0, 486, 6, 130, 27, "搜索", FontKind::Px14},
    {"编辑框_搜索内容", WC_EDITW, kEditStyle | WS_VISIBLE | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
     8, 5, 464, 27, "", FontKind::Gui},
    // A virtual list: its rows live in the window's ResultStore.
    {"超级列表框1", WC_LISTVIEWW, WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDATA,
     WS_EX_CLIENTEDGE, 0, 37, 632, 251, "", FontKind::Px14},
}};

struct MenuItemSpec {
  UINT command;  // 0: a separator
  const char* text;
};

// The popup menu 菜单.
const std::array<MenuItemSpec, 5> kMenuItems = {{
    {kMenuOpenMagnet, "磁力下载"},
    {0, nullptr},
    {kMenuCopyHash, "复制磁力"},
    {0, nullptr},
    {kMenuExportAll, "全部导出"},
}};

struct MainWindowState {
  // Read by workers (to send to it), written on the window's thread.
  std::atomic<HWND> window{nullptr};
  std::array<HWND, static_cast<size_t>(Control::Count)> controls{};
  UniqueFont px14_font;
  ResultStore results;
  // How many rows the result list has been told of, and whether it is due to
  // learn of more.
  int list_rows_shown = 0;
  bool list_sync_scheduled = false;
  // The control that had the focus when the window was last deactivated.
  HWND focus_to_restore = nullptr;
  // Set once the window is being destroyed: late worker requests are dropped.
  bool closing = false;
  std::atomic<unsigned> dropped_hits{0};
};

MainWindowState g_state;

constexpr UINT_PTR kListSyncTimer = 1;
constexpr UINT kListSyncMs = 100;

HWND control(Control c) { return g_state.controls[static_cast<size_t>(c)]; }

HFONT gui_font() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

UniqueFont make_px14_font() {
  LOGFONTW font{};
  font.lfHeight = -14;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = PROOF_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH;
  // Empty face name: the system picks its default face.
  return UniqueFont(CreateFontIndirectW(&font));
}

// A single-line box is at least a line of its font plus both edges high.
int single_line_height(HWND parent, HFONT font, int wanted) {
  TEXTMETRICW metrics{};
  {
    UniqueWindowDc dc(parent);
    SelectedObject selected(dc.get(), font);
    GetTextMetricsW(dc.get(), &metrics);
  }
  const int needed = metrics.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE);
  return wanted < needed ? needed : wanted;
}

bool create_controls(HWND window) {
  g_state.px14_font = make_px14_font();
  for (size_t i = 0; i < kControls.size(); ++i) {
    const ControlSpec& spec = kControls[i];
    HFONT font = spec.font == FontKind::Px14 ? g_state.px14_font.get() : gui_font();
    int height = spec.height;
    const bool is_edit = std::wcscmp(spec.window_class, WC_EDITW) == 0;
    if (is_edit && !(spec.style & ES_MULTILINE)) height = single_line_height(window, font, height);
    HWND child = CreateWindowExW(spec.ex_style, spec.window_class, to_wide(spec.text).c_str(), spec.style,
                                 spec.x, spec.y, spec.width, height, window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)),
                                 GetModuleHandleW(nullptr), nullptr);
    if (!child) return false;
    g_state.controls[i] = child;
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (is_edit) {
      SendMessageW(child, EM_LIMITTEXT, 0, 0);
      SendMessageW(child, EM_SETSEL, 0, 0);
    }
  }
  set_up_result_list(control(Control::ResultList));
  return true;
}

// The status line paints no background: repaint what lies beneath it before
// the new text is drawn.
void repaint_under(HWND child) {
  RECT area;
  GetWindowRect(child, &area);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&area), 2);
  RedrawWindow(GetParent(child), &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void set_text_on_window_thread(Control c, const Text& text) {
  set_window_text(control(c), text);
  if (c == Control::StatusLabel) repaint_under(control(c));
}

// Tells the list how many rows the store holds, if it does not know yet.
void sync_list_rows() {
  if (g_state.list_sync_scheduled) KillTimer(g_state.window.load(), kListSyncTimer);
  g_state.list_sync_scheduled = false;
  if (g_state.list_rows_shown == g_state.results.row_count()) return;
  g_state.list_rows_shown = g_state.results.row_count();
  show_row_count(control(Control::ResultList), g_state.list_rows_shown);
}

// Whole hits, in order: each row with its cells and its record. Rows that may
// come into view are shown at once; beyond the first screenful the list (whose
// every change of length redraws its scroll bar, a costly step under Wine)
// learns its length at most every kListSyncMs, and whenever a worker asks for
// the row count.
void add_hits_on_window_thread(std::vector<ResultHit>& hits) {
  for (ResultHit& hit : hits) g_state.results.add(std::move(hit));
  const int screenful =
      static_cast<int>(SendMessageW(control(Control::ResultList), LVM_GETCOUNTPERPAGE, 0, 0)) + 1;
  if (g_state.list_rows_shown < screenful) {
    sync_list_rows();
  } else if (!g_state.list_sync_scheduled) {
    g_state.list_sync_scheduled = SetTimer(g_state.window.load(), kListSyncTimer, kListSyncMs, nullptr) != 0;
    if (!g_state.list_sync_scheduled) sync_list_rows();
  }
}

void clear_list_on_window_thread() {
  g_state.results.clear_rows();
  sync_list_rows();
}

// Windows' own dialogs give the focus back to the control that had it when
// the window is activated again (after a message box, or after the user
// switched to another program and back).
void remember_focus() {
  HWND focus = GetFocus();
  if (focus && IsChild(g_state.window.load(), focus)) g_state.focus_to_restore = focus;
}

bool restore_focus() {
  HWND focus = g_state.focus_to_restore;
  if (!focus || !IsWindow(focus) || !IsChild(g_state.window.load(), focus)) return false;
  SetFocus(focus);
  return true;
}

LRESULT on_app_message(UINT message, LPARAM lparam) {
  // Once the window is closing nothing more is taken over; the sender counts
  // the hits it could not hand over.
  if (g_state.closing) return 0;
  switch (message) {
    case WM_APP_CLEAR_LIST:
      clear_list_on_window_thread();
      return 0;
    case WM_APP_ROW_COUNT:
      sync_list_rows();
      return g_state.results.row_count();
    case WM_APP_SET_STATUS:
      set_text_on_window_thread(Control::StatusLabel, *reinterpret_cast<const Text*>(lparam));
      return 0;
    case WM_APP_ADD_HITS:
      add_hits_on_window_thread(*reinterpret_cast<std::vector<ResultHit>*>(lparam));
      return 1;  // taken over
  }
  return 0;
}

// The result list and the collected text as the actions read them.
class MainResultView : public ResultView {
public:
  int row_count() override { return g_state.results.row_count(); }
  Text selected_hash() override {
    return g_state.results.cell(selected_row(control(Control::ResultList)), kColHash);
  }
  Text collected_text() override { return g_state.results.collected_text(); }
  void show_menu(int x, int y) override {
    UniqueMenu menu(build_result_menu());
    if (!menu) return;
    // A chosen item comes back as WM_COMMAND once this has returned.
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, x, y, 0, g_state.window.load(), nullptr);
  }
};

// Workers' requests, each sent to the window's thread and carried out whole
// there. Nothing is sent once the window has gone.
class MainResultWindow : public ResultWindow {
public:
  void clear_list() override { send(WM_APP_CLEAR_LIST, nullptr); }
  void set_status(const Text& text) override { send(WM_APP_SET_STATUS, &text); }
  void add_hits(std::vector<ResultHit> hits) override {
    const size_t count = hits.size();
    if (send(WM_APP_ADD_HITS, &hits) != 1) g_state.dropped_hits += static_cast<unsigned>(count);
  }
  int row_count() override { return static_cast<int>(send(WM_APP_ROW_COUNT, nullptr)); }

private:
  // Returns the answer, or 0 (with nothing done) when there is no window.
  static LRESULT send(UINT message, const void* argument) {
    HWND window = g_state.window.load();
    if (!window) return 0;
    return SendMessageW(window, message, 0, reinterpret_cast<LPARAM>(argument));
  }
};

}  // namespace

bool create_main_window_controls(HWND window) {
  g_state.window = window;
  g_state.closing = false;
  g_state.results = ResultStore();
  g_state.list_rows_shown = 0;
  g_state.list_sync_scheduled = false;
  return create_controls(window);
}

bool handle_main_window_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->hwndFrom != control(Control::ResultList) || header->code != LVN_GETDISPINFOW) return false;
      fill_result_cell(*reinterpret_cast<NMLVDISPINFOW*>(lparam), g_state.results);
      return true;
    }
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lparam) != control(Control::StatusLabel)) return false;
      SetTextColor(reinterpret_cast<HDC>(wparam), RGB(255, 0, 0));
      SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
      *result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      return true;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        remember_focus();
        return false;
      }
      return restore_focus();
    case WM_TIMER:
      if (wparam != kListSyncTimer) return false;
      sync_list_rows();
      return true;
    case WM_DESTROY:
      g_state.closing = true;
      PostQuitMessage(0);
      return true;
    case WM_NCDESTROY:
      g_state.window = nullptr;
      g_state.controls.fill(nullptr);
      g_state.focus_to_restore = nullptr;
      return false;
    case WM_APP_CLEAR_LIST:
    case WM_APP_ROW_COUNT:
    case WM_APP_SET_STATUS:
    case WM_APP_ADD_HITS:
      *result = on_app_message(message, lparam);
      return true;
  }
  return false;
}

HWND main_window() { return g_state.window.load(); }

HWND control_handle(Control c) { return control(c); }

Text control_text(Control c) { return window_text(control(c)); }

void set_control_text(Control c, const Text& text) {
  if (control(c)) set_text_on_window_thread(c, text);
}

void focus_control(Control c) {
  if (!control(c)) return;
  g_state.focus_to_restore = control(c);
  SetFocus(control(c));
}

Text window_caption() { return window_text(g_state.window.load()); }

const Text& collected_text() { return g_state.results.collected_text(); }

ResultView& result_view() {
  static MainResultView view;
  return view;
}

ResultWindow& result_window() {
  static MainResultWindow window;
  return window;
}

HMENU build_result_menu() {
  HMENU menu = CreatePopupMenu();
  for (const MenuItemSpec& item : kMenuItems) {
    if (item.command == 0) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu, MF_STRING, item.command, to_wide(item.text).c_str());
    }
  }
  return menu;
}

unsigned dropped_hit_count() { return g_state.dropped_hits.load(); }
