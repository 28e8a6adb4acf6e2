#pragma once
// Helpers for the result actions' tests: the clipboard's contents, a recorder
// for what would go to the shell, hits in the list and the export file.
#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "win32/shell_open_win32.h"
#include "app/main_window_win32.h"
#include "search/result_rows.h"
#include "text/text.h"

// What the clipboard holds in one format, or nullopt when it lacks it.
std::optional<std::string> clipboard_bytes(UINT format);
std::optional<std::wstring> clipboard_wide_text();
// Puts a marker text on the clipboard so that a test sees whether it changed.
void put_clipboard_marker(const wchar_t* marker);

// Records every target handed to the shell while it lives; nothing is started.
class ShellRecorder {
public:
  ShellRecorder();
  ~ShellRecorder();
  ShellRecorder(const ShellRecorder&) = delete;
  ShellRecorder& operator=(const ShellRecorder&) = delete;
  const std::vector<std::wstring>& targets() const;

private:
  ShellOpener previous_;
};

// A hit with the given hash and title (size 1.5 GB, date 2024-01-02), its
// record made by the program's own record maker, as the worker makes it.
ResultHit make_test_hit(const Text& title, const Text& hash);
void select_row(int row);
void clear_selection();

// The export file beside the test program: whatever was there is put aside
// while the test runs and put back afterwards.
class ExportFileGuard {
public:
  ExportFileGuard();
  ~ExportFileGuard();
  ExportFileGuard(const ExportFileGuard&) = delete;
  ExportFileGuard& operator=(const ExportFileGuard&) = delete;
  const std::wstring& path() const { return path_; }
  // The file's bytes, or nullopt when it cannot be read.
  std::optional<std::string> contents() const;
  bool write(const std::string& bytes) const;
  // Files in the export folder whose names begin with the export file's name,
  // the export file itself excluded (leftovers of a failed export).
  std::vector<std::wstring> leftovers() const;

private:
  std::wstring path_;
  std::wstring aside_;
};
