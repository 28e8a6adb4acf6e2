#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "win32/file_replace_win32.h"
#include "app/site_settings_win32.h"
#include "search/search_origin.h"
#include "tests/win/window_test_support.h"

namespace {

// quenlit.ini beside this test program, as a file with `bytes`, as a folder,
// or absent; removed again at the end, and the default origin restored.
class SettingsFileBesideTheProgram {
public:
  SettingsFileBesideTheProgram() : path_(program_file_path(L"quenlit.ini")) { remove(); }
  ~SettingsFileBesideTheProgram() {
    remove();
    set_search_origin("");
  }
  const std::wstring& path() const { return path_; }

  bool write(const std::string& bytes) {
    remove();
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
  }
  bool make_folder() {
    remove();
    return CreateDirectoryW(path_.c_str(), nullptr) != FALSE;
  }
  void remove() {
    DeleteFileW(path_.c_str());
    RemoveDirectoryW(path_.c_str());
  }

private:
  std::wstring path_;
};

// Runs the start-up step, answering OK to whatever message it shows; gives
// the messages seen.
std::vector<SeenMessageBox> load_answering_ok() {
  MessageBoxAnswerer answerer({IDOK, IDOK});
  load_site_settings();
  pump_messages(100);  // a second message, if one came, is answered by now
  return answerer.seen();
}

TEST(SiteSettingsFile, ASoundFileSetsTheOriginWithoutAMessage) {
  SettingsFileBesideTheProgram file;
  ASSERT_TRUE(file.write("\xEF\xBB\xBF[site]\r\naddress=https://127.0.0.1:8443\r\n"));
  EXPECT_TRUE(load_answering_ok().empty());
  EXPECT_EQ(search_origin(), "https://127.0.0.1:8443");
}

TEST(SiteSettingsFile, NoFileLeavesTheDefaultWithoutAMessage) {
  SettingsFileBesideTheProgram file;
  EXPECT_TRUE(load_answering_ok().empty());
  EXPECT_EQ(search_origin(), std::string("http://") + QUENLIT_SEARCH_HOST);
}

TEST(SiteSettingsFile, AFileThatCannotBeUsedGetsOneMessageAndTheDefaultStays) {
  SettingsFileBesideTheProgram file;
  const std::wstring head = L"设置文件 " + file.path() + L" 有误：\r\n";
  const std::wstring tail = L"。\r\n\r\n这次将使用默认的搜索网站 http://" +
                            std::wstring(QUENLIT_SEARCH_HOST, QUENLIT_SEARCH_HOST + sizeof QUENLIT_SEARCH_HOST - 1) +
                            L"。";
  const struct {
    const char* what;
    bool folder;
    std::string bytes;
    std::wstring problem;
  } cases[] = {
      {"malformed", false, "[site]\naddress=a b\n", L"第 2 行：地址“a b”中有空格"},
      {"too big", false, "[site]\naddress=h\n;" + std::string(70000, 'x'), L"文件太大（70018 字节），不像是设置文件"},
      {"a folder", true, "", L"文件打不开（错误代码 5）"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(c.folder ? file.make_folder() : file.write(c.bytes));
    const std::vector<SeenMessageBox> seen = load_answering_ok();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, L"提示");
    EXPECT_EQ(seen[0].text, head + c.problem + tail);
    EXPECT_EQ(search_origin(), std::string("http://") + QUENLIT_SEARCH_HOST);
  }
}

}  // namespace
