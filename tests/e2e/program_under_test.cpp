#include "tests/e2e/program_under_test.h"

#include <commctrl.h>

#include <memory>
#include <vector>

namespace {

// This test program's own folder: quenlit.exe is built beside it.
std::wstring own_folder() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

bool write_file(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(file);
  return ok;
}

void remove_folder(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") DeleteFileW((folder + name).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

struct TopLevelSearch {
  DWORD process_id;
  std::wstring window_class;  // empty: any
  std::wstring caption;       // empty: any
  HWND found = nullptr;
};

BOOL CALLBACK match_top_level(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<TopLevelSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process_id || !IsWindowVisible(window)) return TRUE;
  if (!search->window_class.empty() && class_of(window) != search->window_class) return TRUE;
  if (!search->caption.empty() && text_of(window) != search->caption) return TRUE;
  search->found = window;
  return FALSE;
}

struct ChildSearch {
  HWND parent;
  std::wstring window_class;
  std::function<bool(HWND)> matches;
  HWND found = nullptr;
};

BOOL CALLBACK match_child(HWND child, LPARAM parameter) {
  auto* search = reinterpret_cast<ChildSearch*>(parameter);
  if (GetParent(child) != search->parent || class_of(child) != search->window_class) return TRUE;
  if (!search->matches(child)) return TRUE;
  search->found = child;
  return FALSE;
}

HWND find_child(HWND parent, const std::wstring& window_class, std::function<bool(HWND)> matches) {
  ChildSearch search{parent, window_class, std::move(matches)};
  EnumChildWindows(parent, match_child, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A block of memory in another process, freed with it.
class RemoteBlock {
public:
  RemoteBlock(HANDLE process, size_t size)
      : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  ~RemoteBlock() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }
  bool ok() const { return address_ != nullptr; }
  bool write(size_t offset, const void* data, size_t size) const {
    SIZE_T done = 0;
    return WriteProcessMemory(process_, at(offset), data, size, &done) && done == size;
  }
  bool read(size_t offset, void* data, size_t size) const {
    SIZE_T done = 0;
    return ReadProcessMemory(process_, at(offset), data, size, &done) && done == size;
  }

private:
  HANDLE process_;
  void* address_;
};

LPARAM point(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace

bool wait_until(const std::function<bool()>& done, int milliseconds) {
  const DWORD until = GetTickCount() + static_cast<DWORD>(milliseconds);
  while (!done()) {
    if (static_cast<int>(until - GetTickCount()) <= 0) return false;
    Sleep(20);
  }
  return true;
}

std::wstring text_of(HWND window) {
  wchar_t text[4096] = {};
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                           &length)) {
    return L"<no answer>";
  }
  return std::wstring(text, length);
}

std::wstring class_of(HWND window) {
  wchar_t name[256] = {};
  return std::wstring(name, static_cast<size_t>(GetClassNameW(window, name, 256)));
}

ProgramUnderTest::ProgramUnderTest(const std::string& settings) {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, temp);
  folder_ = std::wstring(temp) + L"quenlit-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount()) + L"\\";
  if (!CreateDirectoryW(folder_.c_str(), nullptr)) {
    problem_ = L"cannot make the folder " + folder_;
    return;
  }
  const std::wstring exe = folder_ + L"quenlit.exe";
  if (!CopyFileW((own_folder() + L"quenlit.exe").c_str(), exe.c_str(), TRUE)) {
    problem_ = L"cannot copy quenlit.exe from " + own_folder();
    return;
  }
  if (!settings.empty() && !write_file(folder_ + L"quenlit.ini", settings)) {
    problem_ = L"cannot write quenlit.ini";
    return;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring command = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &startup,
                      &process_)) {
    problem_ = L"cannot start " + exe;
    process_ = PROCESS_INFORMATION{};
  }
}

ProgramUnderTest::~ProgramUnderTest() {
  if (process_.hProcess) {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  if (!folder_.empty()) remove_folder(folder_);
}

HWND ProgramUnderTest::find_top_level(const std::wstring& window_class) const {
  TopLevelSearch search{process_.dwProcessId, window_class, L""};
  EnumWindows(match_top_level, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND ProgramUnderTest::wait_for_window(const std::wstring& caption, int milliseconds) {
  HWND found = nullptr;
  wait_until(
      [&] {
        TopLevelSearch search{process_.dwProcessId, L"", caption};
        EnumWindows(match_top_level, reinterpret_cast<LPARAM>(&search));
        found = search.found;
        return found != nullptr;
      },
      milliseconds);
  return found;
}

HWND ProgramUnderTest::wait_for_message_box(int milliseconds) {
  HWND found = nullptr;
  wait_until([&] { return (found = find_top_level(L"#32770")) != nullptr; }, milliseconds);
  return found;
}

bool ProgramUnderTest::wait_for_exit(int milliseconds, DWORD* code) {
  if (!process_.hProcess || WaitForSingleObject(process_.hProcess, static_cast<DWORD>(milliseconds)) != WAIT_OBJECT_0) {
    return false;
  }
  return GetExitCodeProcess(process_.hProcess, code) != FALSE;
}

bool ProgramUnderTest::read_file(const std::wstring& name, std::string* bytes) const {
  HANDLE file = CreateFileW((folder_ + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes->clear();
  char piece[4096];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, piece, sizeof piece, &got, nullptr) != FALSE) && got > 0) bytes->append(piece, got);
  CloseHandle(file);
  return ok;
}

HWND child_at(HWND parent, const std::wstring& window_class, int x, int y) {
  return find_child(parent, window_class, [parent, x, y](HWND child) {
    RECT box;
    GetWindowRect(child, &box);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&box), 2);
    return box.left == x && box.top == y;
  });
}

HWND child_with_text(HWND parent, const std::wstring& window_class, const std::wstring& text) {
  return find_child(parent, window_class, [&text](HWND child) { return text_of(child) == text; });
}

std::wstring message_box_text(HWND box) { return text_of(GetDlgItem(box, 0xFFFF)); }

bool press_button(HWND box, int button_id) {
  HWND button = GetDlgItem(box, button_id);
  return button && PostMessageW(button, BM_CLICK, 0, 0);
}

HWND focus_of_thread(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

void click(HWND window, int x, int y) {
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point(x, y));
  PostMessageW(window, WM_LBUTTONUP, 0, point(x, y));
}

void double_click(HWND window, int x, int y) {
  click(window, x, y);
  PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, point(x, y));
  PostMessageW(window, WM_LBUTTONUP, 0, point(x, y));
}

void right_button_down(HWND window, int x, int y) { PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, point(x, y)); }
void right_button_up(HWND window, int x, int y) { PostMessageW(window, WM_RBUTTONUP, 0, point(x, y)); }

void press_key(HWND window, WORD virtual_key) {
  const UINT scan = MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC);
  PostMessageW(window, WM_KEYDOWN, virtual_key, 1 | (scan << 16));
  PostMessageW(window, WM_KEYUP, virtual_key, 1 | (scan << 16) | (3u << 30));
}

int RemoteList::rows() const {
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(list_, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count)) return -1;
  return static_cast<int>(count);
}

std::wstring RemoteList::cell(int row, int column) const {
  constexpr size_t kChars = 2048;
  RemoteBlock block(process_, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  if (!block.ok()) return L"<no memory in the program>";
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<LPWSTR>(block.at(sizeof item));
  item.cchTextMax = static_cast<int>(kChars);
  if (!block.write(0, &item, sizeof item)) return L"<cannot write the program's memory>";
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.at(0)),
                           SMTO_ABORTIFHUNG, 5000, &length)) {
    return L"<no answer>";
  }
  std::vector<wchar_t> text(kChars);
  if (!block.read(sizeof item, text.data(), kChars * sizeof(wchar_t))) return L"<cannot read the program's memory>";
  return std::wstring(text.data(), length < kChars ? length : kChars);
}

RECT RemoteList::row_bounds(int row) const {
  RECT bounds{LVIR_BOUNDS, 0, 0, 0};
  RemoteBlock block(process_, sizeof bounds);
  DWORD_PTR ok = 0;
  if (!block.ok() || !block.write(0, &bounds, sizeof bounds) ||
      !SendMessageTimeoutW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.at(0)),
                           SMTO_ABORTIFHUNG, 5000, &ok) ||
      !ok || !block.read(0, &bounds, sizeof bounds)) {
    return RECT{};
  }
  return bounds;
}

bool empty_clipboard() {
  if (!wait_until([] { return OpenClipboard(nullptr) != FALSE; }, 5000)) return false;
  const bool emptied = EmptyClipboard() != FALSE;
  CloseClipboard();
  return emptied;
}

bool clipboard_text(std::wstring* text) {
  if (!wait_until([] { return OpenClipboard(nullptr) != FALSE; }, 5000)) return false;
  bool found = false;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      *text = chars;
      found = true;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return found;
}
