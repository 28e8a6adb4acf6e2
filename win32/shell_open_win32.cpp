#include "win32/shell_open_win32.h"

#include <windows.h>

#include <shellapi.h>

#include "win32/wide_text_win32.h"

namespace {

void shell_execute_open(const std::wstring& target) {
  ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, L"", SW_SHOWNORMAL);
}

ShellOpener g_opener = shell_execute_open;

}  // namespace

void open_with_shell(const Text& target) { open_with_shell(to_wide(target)); }

void open_with_shell(const std::wstring& target) { g_opener(target); }

ShellOpener replace_shell_opener(ShellOpener opener) {
  ShellOpener previous = g_opener;
  g_opener = opener ? opener : shell_execute_open;
  return previous;
}
