#include "app/main_window_win32.h"

#include <commctrl.h>

#include <array>
#include <atomic>
#include <cwchar>
#include <cstdio>
#include <string>

#include "app/app_messages_win32.h"
#include "app/win32_handles_win32.h"
#include "app/window_events_win32.h"
#include "text/wide_text_win32.h"

const char kWindowCaption[] = "Quenlit BY：Dolventh";

namespace {

constexpr wchar_t kWindowClass[] = L"QuenlitMainWindow";
constexpr int kFirstControlId = 1001;

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

// Creation order, places, sizes and texts of the controls (see Control).
const std::array<ControlSpec, static_cast<size_t>(Control::Count)> kControls = {{
    {"透明标签1", WC_STATICW, WS_CHILD | WS_VISIBLE | SS_CENTER, WS_EX_TRANSPARENT,
     218, 297, 182, 16, "多次点击下一页可批量搜索", FontKind::Gui},
    {"标签3", WC_STATICW, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, 0,
     70, 297, 17, 15, "页", FontKind::Gui},
    {"标签2", WC_STATICW, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, 0,
     5, 297, 19, 15, " 第", FontKind::Gui},
    {"下一页", WC_BUTTONW, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, 0,
     540, 293, 72, 20, "下一页", FontKind::Gui},
    {"上一页", WC_BUTTONW, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, 0,
     459, 293, 72, 20, "上一页", FontKind::Gui},
    {"编辑框1", WC_EDITW, kEditStyle | WS_VISIBLE | ES_CENTER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
     30, 294, 34, 18, "", FontKind::Gui},
    {"按钮_搜索", WC_BUTTONW, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, 0,
     486, 6, 130, 27, "搜索", FontKind::Px14},
    {"编辑框_搜索内容", WC_EDITW, kEditStyle | WS_VISIBLE | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
     8, 5, 464, 27, "", FontKind::Gui},
    {"超级列表框1", WC_LISTVIEWW, WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL, WS_EX_CLIENTEDGE,
     0, 37, 632, 251, "", FontKind::Px14},
    // Never shown: it only collects the records of every hit for the export.
    {"编辑框_临时存放", WC_EDITW,
     kEditStyle | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL, WS_EX_CLIENTEDGE,
     64, 88, 440, 96, "", FontKind::Px14},
}};

struct ColumnSpec {
  const char* title;
  int width;
  int format;
};

const std::array<ColumnSpec, kColumnCount> kColumns = {{
    {"序", 30, LVCFMT_LEFT},
    {"片名", 355, LVCFMT_LEFT},
    {"大小", 80, LVCFMT_CENTER},
    {"日期", 100, LVCFMT_CENTER},
    {"热度", 50, LVCFMT_CENTER},
    {"磁", 0, LVCFMT_LEFT},  // the info-hash, read by the result actions
    {"迅", 0, LVCFMT_LEFT},
}};

struct MenuItemSpec {
  UINT command;  // 0: a separator
  const char* text;
};

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
  // Set once the window is being destroyed: late worker requests are dropped.
  bool closing = false;
};

MainWindowState g_state;

HWND control(Control c) { return g_state.controls[static_cast<size_t>(c)]; }

// The text of a window or control; the empty text for no window.
Text window_text(HWND window) {
  if (!window) return Text();
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return from_wide(text);
}

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
  HDC dc = GetDC(parent);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(parent, dc);
  const int needed = metrics.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE);
  return wanted < needed ? needed : wanted;
}

LRESULT CALLBACK keyword_box_proc(HWND box, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  if (message == WM_KEYDOWN) {
    handle_keyword_key(static_cast<unsigned>(wparam), GetKeyState(VK_SHIFT) < 0,
                       GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0);
  }
  return DefSubclassProc(box, message, wparam, lparam);
}

LRESULT CALLBACK result_list_proc(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  // The menu comes first; the list receives the press once the menu has closed.
  if (message == WM_RBUTTONDOWN) show_result_menu();
  return DefSubclassProc(list, message, wparam, lparam);
}

void add_columns(HWND list) {
  for (size_t i = 0; i < kColumns.size(); ++i) {
    std::wstring title = to_wide(kColumns[i].title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = kColumns[i].format;
    column.cx = kColumns[i].width;
    column.pszText = title.data();
    column.iSubItem = static_cast<int>(i);
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

bool create_controls(HWND window) {
  g_state.px14_font = make_px14_font();
  for (size_t i = 0; i < kControls.size(); ++i) {
    const ControlSpec& spec = kControls[i];
    HFONT font = spec.font == FontKind::Px14 ? g_state.px14_font.get() : gui_font();
    int height = spec.height;
    const bool is_edit = std::wcscmp(spec.window_class, WC_EDITW) == 0;
    if (is_edit && !(spec.style & ES_MULTILINE)) {
      height = single_line_height(window, font, height);
    }
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
  HWND list = control(Control::ResultList);
  const DWORD list_ex = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_INFOTIP | LVS_EX_SUBITEMIMAGES;
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, list_ex, list_ex);
  SendMessageW(list, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 0));
  SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
  SendMessageW(list, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
  add_columns(list);
  SetWindowSubclass(control(Control::KeywordBox), keyword_box_proc, 1, 0);
  SetWindowSubclass(list, result_list_proc, 1, 0);
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
  SetWindowTextW(control(c), to_wide(text).c_str());
  if (c == Control::StatusLabel) repaint_under(control(c));
}

void set_cell(HWND list, int row, int column, const Text& text) {
  std::wstring wide = to_wide(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

void append_collected_text(const Text& text) {
  HWND box = control(Control::CollectedText);
  const LRESULT end = GetWindowTextLengthW(box);
  SendMessageW(box, EM_SETSEL, end, end);
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
  SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(to_wide(text).c_str()));
}

// One hit: the row, its seven cells and its record, all within one message.
void add_hit_on_window_thread(const ResultHit& hit) {
  HWND list = control(Control::ResultList);
  const int position = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = position;
  wchar_t empty[] = L"";
  item.pszText = empty;
  const int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row >= 0) {
    char number[16];
    std::snprintf(number, sizeof number, "%d", static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    set_cell(list, row, kColNumber, number);
    for (int column = kColTitle; column < kColumnCount; ++column) set_cell(list, row, column, hit.cells[column]);
  }
  append_collected_text(hit.record);
}

LRESULT on_command(WORD id, WORD code) {
  if (id == control_id(Control::SearchButton) && code == BN_CLICKED) {
    search_command();
  } else if (id == control_id(Control::NextPage) && code == BN_CLICKED) {
    next_page_command();
  } else if (id == control_id(Control::PreviousPage) && code == BN_CLICKED) {
    previous_page_command();
  } else if (id == control_id(Control::KeywordBox) && code == EN_CHANGE) {
    handle_keyword_edit();
  } else if (id == kMenuOpenMagnet) {
    open_selected_magnet();
  } else if (id == kMenuCopyHash) {
    copy_selected_hash();
  } else if (id == kMenuExportAll) {
    export_collected_text();
  }
  return 0;
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      g_state.window = window;
      if (!create_controls(window)) return -1;
      return 0;
    case WM_COMMAND:
      return on_command(LOWORD(wparam), HIWORD(wparam));
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->hwndFrom == control(Control::ResultList) && header->code == NM_DBLCLK) copy_selected_hash();
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lparam) == control(Control::StatusLabel)) {
        HDC dc = reinterpret_cast<HDC>(wparam);
        SetTextColor(dc, RGB(255, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      }
      break;
    case WM_CLOSE:
      if (handle_close_request()) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      g_state.closing = true;
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      g_state.window = nullptr;
      g_state.controls.fill(nullptr);
      break;
    case WM_APP_CLEAR_LIST:
      if (!g_state.closing) SendMessageW(control(Control::ResultList), LVM_DELETEALLITEMS, 0, 0);
      return 0;
    case WM_APP_ROW_COUNT:
      return g_state.closing ? 0 : SendMessageW(control(Control::ResultList), LVM_GETITEMCOUNT, 0, 0);
    case WM_APP_SET_STATUS:
      if (!g_state.closing) set_text_on_window_thread(Control::StatusLabel, *reinterpret_cast<const Text*>(lparam));
      return 0;
    case WM_APP_ADD_HIT:
      if (!g_state.closing) add_hit_on_window_thread(*reinterpret_cast<const ResultHit*>(lparam));
      return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

HICON load_icon(HINSTANCE instance, int size) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

bool register_window_class(HINSTANCE instance) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = main_window_proc;
  window_class.hInstance = instance;
  // One 32 x 32 picture serves as both the large and the small icon.
  window_class.hIcon = load_icon(instance, 32);
  window_class.hIconSm = window_class.hIcon;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWindowClass;
  return RegisterClassExW(&window_class) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Esc anywhere in the window asks to close it; Tab moves the focus among the
// controls. Returns true when the message has been handled.
bool handle_window_key(const MSG& msg) {
  HWND window = g_state.window.load();
  if (!window || msg.message != WM_KEYDOWN) return false;
  if (msg.hwnd != window && !IsChild(window, msg.hwnd)) return false;
  if (msg.wParam == VK_ESCAPE) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return true;
  }
  if (msg.wParam == VK_TAB && !(GetKeyState(VK_CONTROL) < 0)) {
    HWND next = GetNextDlgTabItem(window, GetFocus(), GetKeyState(VK_SHIFT) < 0);
    if (next) SetFocus(next);
    return true;
  }
  return false;
}

}  // namespace

HWND create_main_window(HINSTANCE instance) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  if (!register_window_class(instance)) return nullptr;
  g_state.closing = false;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
  HWND window = CreateWindowExW(0, kWindowClass, to_wide(kWindowCaption).c_str(),
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS,
                                left, top, kWindowWidth, kWindowHeight, nullptr, nullptr, instance, nullptr);
  if (!window) return nullptr;
  handle_window_created();
  return window;
}

HWND main_window() { return g_state.window.load(); }

HWND control_handle(Control c) { return control(c); }

int control_id(Control c) { return kFirstControlId + static_cast<int>(c); }

int run_message_loop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (handle_window_key(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

Text control_text(Control c) { return window_text(control(c)); }

void set_control_text(Control c, const Text& text) {
  if (control(c)) set_text_on_window_thread(c, text);
}

void focus_control(Control c) {
  if (control(c)) SetFocus(control(c));
}

Text window_caption() { return window_text(g_state.window.load()); }

int message_box(const Text& text, const Text& title, UINT style) {
  return MessageBoxW(nullptr, to_wide(text).c_str(), to_wide(title).c_str(), style | MB_TASKMODAL);
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

void ui_clear_list() {
  if (HWND window = g_state.window.load()) SendMessageW(window, WM_APP_CLEAR_LIST, 0, 0);
}

int ui_row_count() {
  HWND window = g_state.window.load();
  return window ? static_cast<int>(SendMessageW(window, WM_APP_ROW_COUNT, 0, 0)) : 0;
}

void ui_set_status(const Text& text) {
  if (HWND window = g_state.window.load()) SendMessageW(window, WM_APP_SET_STATUS, 0, reinterpret_cast<LPARAM>(&text));
}

void ui_add_hit(const ResultHit& hit) {
  if (HWND window = g_state.window.load()) SendMessageW(window, WM_APP_ADD_HIT, 0, reinterpret_cast<LPARAM>(&hit));
}
