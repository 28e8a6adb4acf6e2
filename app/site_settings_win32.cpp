#include "app/site_settings_win32.h"

#include <windows.h>

#include <optional>
#include <string>

#include "app/site_settings.h"
#include "search/search_origin.h"
#include "win32/file_replace_win32.h"
#include "win32/handles_win32.h"
#include "win32/message_box_win32.h"
#include "win32/wide_text_win32.h"

namespace {

constexpr wchar_t kSettingsFileName[] = L"quenlit.ini";
// Far more than any settings file needs; a bigger one is surely not ours.
constexpr DWORD kMostSettingsBytes = 64 * 1024;

struct FileRead {
  bool present = false;
  std::optional<std::string> bytes;  // nothing: present but unreadable
  Text problem;                      // why it could not be read
};

FileRead read_settings_file(const std::wstring& path) {
  FileRead read;
  HANDLE opened = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    read.present = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    read.problem = "文件打不开（错误代码 " + std::to_string(error) + "）";
    return read;
  }
  UniqueHandle file(opened);
  read.present = true;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) {
    read.problem = "文件读不出来（错误代码 " + std::to_string(GetLastError()) + "）";
    return read;
  }
  if (size.QuadPart > kMostSettingsBytes) {
    read.problem = "文件太大（" + std::to_string(size.QuadPart) + " 字节），不像是设置文件";
    return read;
  }
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                         got != bytes.size())) {
    read.problem = "文件读不出来（错误代码 " + std::to_string(GetLastError()) + "）";
    return read;
  }
  read.bytes = std::move(bytes);
  return read;
}

}  // namespace

void load_site_settings() {
  const std::wstring path = program_file_path(kSettingsFileName);
  if (path.empty()) return;
  const FileRead read = read_settings_file(path);
  if (!read.present) return;
  const SiteSettings settings = read.bytes ? parse_site_settings(*read.bytes) : SiteSettings{Text(), read.problem};
  if (settings.problem.empty()) {
    if (!settings.origin.empty()) set_search_origin(settings.origin);
    return;
  }
  message_box(site_settings_message(from_wide(path), settings.problem, default_search_origin()), "提示",
              MB_OK | MB_ICONWARNING);
}
