#include "win32/file_replace_win32.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "win32/grow_buffer.h"
#include "win32/handles_win32.h"

namespace {

// The executable's full path, however long it is.
std::wstring module_path() {
  const auto path = read_into_growing_buffer<std::wstring>(MAX_PATH, 65536, [](std::wstring& buffer) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return BufferTry::failed();
    if (length < buffer.size()) return BufferTry::fits(length);
    return BufferTry::too_small();
  });
  return path.value_or(std::wstring());
}

UniqueHandle open_file(const std::wstring& path, DWORD disposition) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return UniqueHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

// The old file must be one this program may write and that nobody holds open,
// just as if it were opened for writing in place; a missing file is fine.
bool target_writable(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    return false;
  }
  UniqueHandle old = open_file(path, OPEN_EXISTING);
  return old || GetLastError() == ERROR_FILE_NOT_FOUND;
}

// A new file beside the target, removed again unless it has taken the
// target's place.
class TemporaryFile {
public:
  explicit TemporaryFile(const std::wstring& target) {
    const std::wstring stem = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".";
    for (unsigned attempt = 0; attempt < 100 && !handle_; ++attempt) {
      path_ = stem + std::to_wstring(GetTickCount() + attempt) + L".tmp";
      handle_ = open_file(path_, CREATE_NEW);
      if (!handle_ && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
  }
  ~TemporaryFile() {
    handle_.reset();
    if (!path_.empty() && !kept_) DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool created() const { return handle_ != nullptr; }

  bool write(const Text& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
      DWORD written = 0;
      if (!WriteFile(handle_.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
      done += written;
    }
    return true;
  }

  // Flushes and closes the file: only then is what was written known to be there.
  bool close() {
    const bool flushed = FlushFileBuffers(handle_.get()) != FALSE;
    const bool closed = CloseHandle(handle_.release()) != FALSE;
    return flushed && closed;
  }

  bool take_place_of(const std::wstring& target) {
    kept_ = MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    return kept_;
  }

private:
  std::wstring path_;
  UniqueHandle handle_;
  bool kept_ = false;
};

}  // namespace

std::wstring program_file_path(const std::wstring& name) {
  const std::wstring program = module_path();
  const size_t slash = program.find_last_of(L"\\/");
  if (program.empty() || slash == std::wstring::npos) return std::wstring();
  return program.substr(0, slash + 1) + name;
}

bool replace_file_contents(const std::wstring& path, const Text& bytes) {
  if (path.empty() || !target_writable(path)) return false;
  TemporaryFile temporary(path);
  return temporary.created() && temporary.write(bytes) && temporary.close() && temporary.take_place_of(path);
}
