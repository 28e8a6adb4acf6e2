#include "tests/win/actions_test_support.h"

#include <cstring>
#include <cwchar>

#include "actions/result_actions_win32.h"
#include "win32/file_replace_win32.h"
#include "win32/handles_win32.h"

std::optional<std::string> clipboard_bytes(UINT format) {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::string> bytes;
  if (HANDLE data = GetClipboardData(format)) {
    if (const void* memory = GlobalLock(data)) {
      bytes = std::string(static_cast<const char*>(memory), GlobalSize(data));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return bytes;
}

std::optional<std::wstring> clipboard_wide_text() {
  const std::optional<std::string> bytes = clipboard_bytes(CF_UNICODETEXT);
  if (!bytes) return std::nullopt;
  std::wstring text(bytes->size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), bytes->data(), text.size() * sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

void put_clipboard_marker(const wchar_t* marker) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  const size_t size = (std::wcslen(marker) + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(block), marker, size);
  GlobalUnlock(block);
  if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
  CloseClipboard();
}

namespace {
std::vector<std::wstring> g_shell_targets;
void record_target(const std::wstring& target) { g_shell_targets.push_back(target); }
}  // namespace

ShellRecorder::ShellRecorder() : previous_(replace_shell_opener(record_target)) { g_shell_targets.clear(); }
ShellRecorder::~ShellRecorder() { replace_shell_opener(previous_); }
const std::vector<std::wstring>& ShellRecorder::targets() const { return g_shell_targets; }

ResultHit make_test_hit(const Text& title, const Text& hash) {
  ResultHit hit;
  hit.cells[kColTitle] = title;
  hit.cells[kColSize] = "1.5 GB";
  hit.cells[kColDate] = "2024-01-02";
  hit.cells[kColPopularity] = "7";
  hit.cells[kColHash] = hash;
  hit.cells[kColLink] = "thunder://" + hash;
  hit.record = make_hit_record(title, hit.cells[kColDate], hit.cells[kColSize], hash);
  return hit;
}

void select_row(int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(control_handle(Control::ResultList), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&item));
}

void clear_selection() {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  SendMessageW(control_handle(Control::ResultList), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(&item));
}

ExportFileGuard::ExportFileGuard() : path_(export_path()), aside_(path_ + L".aside-by-test") {
  DeleteFileW(aside_.c_str());
  MoveFileExW(path_.c_str(), aside_.c_str(), MOVEFILE_REPLACE_EXISTING);
}

ExportFileGuard::~ExportFileGuard() {
  SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(path_.c_str());
  RemoveDirectoryW(path_.c_str());
  for (const std::wstring& leftover : leftovers()) DeleteFileW(leftover.c_str());
  MoveFileExW(aside_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::optional<std::string> ExportFileGuard::contents() const {
  HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  UniqueHandle owner(file);
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  return bytes;
}

bool ExportFileGuard::write(const std::string& bytes) const {
  HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  UniqueHandle owner(file);
  DWORD written = 0;
  return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
}

std::vector<std::wstring> ExportFileGuard::leftovers() const {
  std::vector<std::wstring> found;
  const std::wstring folder = path_.substr(0, path_.find_last_of(L'\\') + 1);
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((path_ + L"*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    const std::wstring full = folder + entry.cFileName;
    if (full != path_ && full != aside_) found.push_back(full);
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return found;
}
