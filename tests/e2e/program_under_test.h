#pragma once
// Driving the real quenlit.exe from another process, the way a user or
// another program could: windows found by class, place and text, list cells
// read through the list's own messages with buffers placed in the program's
// memory, message boxes answered with their buttons, the clipboard and files
// read as they are. Nothing here knows the program's internals.
#include <windows.h>

#include <functional>
#include <string>

// Polls `done` every few milliseconds until it holds or `milliseconds` have
// passed; gives whether it held.
bool wait_until(const std::function<bool()>& done, int milliseconds);

// A window's text, through WM_GETTEXT (which the system carries across
// processes).
std::wstring text_of(HWND window);
std::wstring class_of(HWND window);

// quenlit.exe copied into a fresh temporary folder, with a quenlit.ini of
// the given bytes beside it (none when `settings` is empty), and started
// there. The destructor ends the program if it still runs and removes the
// folder.
class ProgramUnderTest {
public:
  explicit ProgramUnderTest(const std::string& settings);
  ~ProgramUnderTest();
  ProgramUnderTest(const ProgramUnderTest&) = delete;
  ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

  // Empty when the program could not be copied or started.
  const std::wstring& problem() const { return problem_; }
  const std::wstring& folder() const { return folder_; }
  HANDLE process() const { return process_.hProcess; }

  // The program's visible top-level window with this caption; null when none
  // showed in time.
  HWND wait_for_window(const std::wstring& caption, int milliseconds);
  // The program's visible message box (class "#32770"); null when none
  // showed in time.
  HWND wait_for_message_box(int milliseconds);
  // A visible top-level window of the program of this class, if any now.
  HWND find_top_level(const std::wstring& window_class) const;
  // Whether the program ended in time; its exit code goes to `code`.
  bool wait_for_exit(int milliseconds, DWORD* code);

  // The bytes of a file in the program's folder; false when it cannot be read.
  bool read_file(const std::wstring& name, std::string* bytes) const;

private:
  std::wstring folder_;
  std::wstring problem_;
  PROCESS_INFORMATION process_{};
};

// The child of `parent` of this class whose top left corner lies at x, y of
// the parent's client area; null when there is none.
HWND child_at(HWND parent, const std::wstring& window_class, int x, int y);
// The child of `parent` of this class with this text; null when none.
HWND child_with_text(HWND parent, const std::wstring& window_class, const std::wstring& text);

// A message box's text (its static text, the system's id 0xFFFF).
std::wstring message_box_text(HWND box);
// Presses the message box's button IDYES, IDNO, IDOK... as a click would.
bool press_button(HWND box, int button_id);

// The window that has the keyboard focus on `window`'s thread; null if none.
HWND focus_of_thread(HWND window);

// A click (or a double-click) at x, y of a window's client area, as the
// mouse would deliver it.
void click(HWND window, int x, int y);
void double_click(HWND window, int x, int y);
void right_button_down(HWND window, int x, int y);
void right_button_up(HWND window, int x, int y);
void press_key(HWND window, WORD virtual_key);

// A report-view list in another process, read with its own messages.
class RemoteList {
public:
  RemoteList(HANDLE process, HWND list) : process_(process), list_(list) {}
  int rows() const;
  std::wstring cell(int row, int column) const;
  // The row's bounds in the list's client area; empty when it has none.
  RECT row_bounds(int row) const;

private:
  HANDLE process_;
  HWND list_;
};

// Empties the clipboard; gives whether it could.
bool empty_clipboard();
// The clipboard's text as CF_UNICODETEXT; false when there is none.
bool clipboard_text(std::wstring* text);
