#pragma once
// Helpers for driving the real main window in-process under Wine.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/main_window_win32.h"
#include "app/program_window_win32.h"

// A window's text as the wide interfaces give it.
inline std::wstring wide_window_text(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// A control's text as the wide interfaces give it: what the window really
// holds, read without the program's own code page conversion.
inline std::wstring wide_control_text(Control control) { return wide_window_text(control_handle(control)); }

// Runs the window's thread's pending messages for a while.
inline void pump_messages(int milliseconds = 50) {
  const DWORD until = GetTickCount() + static_cast<DWORD>(milliseconds);
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(1);
  } while (static_cast<int>(until - GetTickCount()) > 0);
}

// Pumps until `done` holds or the time is up; returns whether it held.
inline bool pump_until(const std::function<bool()>& done, int milliseconds = 10000) {
  const DWORD until = GetTickCount() + static_cast<DWORD>(milliseconds);
  while (!done()) {
    if (static_cast<int>(until - GetTickCount()) <= 0) return false;
    pump_messages(5);
  }
  return true;
}

// The main window for one test; destroyed without asking at the end.
class MainWindowFixture {
public:
  MainWindowFixture() : window_(create_main_window(GetModuleHandleW(nullptr))) {
    if (window_) ShowWindow(window_, SW_SHOWNORMAL);
    pump_messages(20);
  }
  ~MainWindowFixture() {
    if (IsWindow(window_)) DestroyWindow(window_);
    MSG msg;
    pump_messages(20);
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  HWND window() const { return window_; }

private:
  HWND window_;
};

struct SeenMessageBox {
  std::wstring title;
  std::wstring text;
  bool main_window_alive = false;  // whether the main window existed while it was open
};

// Answers the message boxes of this process, one answer (IDYES, IDNO, IDOK...)
// per box in order, from a thread of its own, and records what they said.
class MessageBoxAnswerer {
public:
  explicit MessageBoxAnswerer(std::vector<int> answers)
      : answers_(std::move(answers)), thread_([this] { run(); }) {}
  ~MessageBoxAnswerer() {
    stop_ = true;
    thread_.join();
  }
  // Valid once the boxes have been answered (see answered()).
  const std::vector<SeenMessageBox>& seen() const { return seen_; }
  // Counted before the answer is given, so a box shown inside a SendMessage
  // is counted by the time that SendMessage returns.
  size_t answered() const { return answered_.load(); }
  // How many of the answered boxes have since gone.
  size_t closed() const { return closed_.load(); }

private:
  static BOOL CALLBACK find_box(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t cls[32] = {};
    GetClassNameW(window, cls, 32);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && std::wstring(cls) == L"#32770") {
      *reinterpret_cast<HWND*>(found) = window;
      return FALSE;
    }
    return TRUE;
  }
  void run() {
    size_t next = 0;
    while (!stop_ && next < answers_.size()) {
      HWND box = nullptr;
      EnumWindows(find_box, reinterpret_cast<LPARAM>(&box));
      if (!box) {
        Sleep(10);
        continue;
      }
      SeenMessageBox seen;
      seen.title = wide_window_text(box);
      seen.text = wide_window_text(GetDlgItem(box, 0xFFFF));
      seen.main_window_alive = IsWindow(main_window()) != FALSE;
      seen_.push_back(seen);
      HWND button = GetDlgItem(box, answers_[next]);
      const int answer = answers_[next];
      answered_ = ++next;
      PostMessageW(button ? button : box, button ? BM_CLICK : WM_COMMAND, button ? 0 : answer, 0);
      // Wait for this box to go before looking for the next one.
      for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(10);
      if (!IsWindow(box)) closed_ = next;
    }
  }

  std::vector<int> answers_;
  std::vector<SeenMessageBox> seen_;
  std::atomic<size_t> answered_{0};
  std::atomic<size_t> closed_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Asks the window to close and gives its question `answer`; returns the boxes
// seen (none when no question came in time).
inline std::vector<SeenMessageBox> request_close(HWND window, int answer) {
  MessageBoxAnswerer answerer({answer});
  SendMessageW(window, WM_CLOSE, 0, 0);
  if (!pump_until([&] { return answerer.answered() == 1; })) return {};
  return answerer.seen();
}
