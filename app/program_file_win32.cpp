#include "app/program_file_win32.h"

#include <windows.h>

namespace {

// The executable's full path, however long it is.
std::wstring module_path() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= 65536) return std::wstring();
    path.assign(path.size() * 2, L'\0');
  }
}

}  // namespace

std::wstring program_file_path(const std::wstring& name) {
  const std::wstring program = module_path();
  const size_t slash = program.find_last_of(L"\\/");
  if (program.empty() || slash == std::wstring::npos) return std::wstring();
  return program.substr(0, slash + 1) + name;
}
