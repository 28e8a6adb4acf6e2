#include "app/site_settings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Expected texts are literals in code page 936 (the tests are compiled like
// the program); file bytes spelled with u8"" are UTF-8.
struct Case {
  std::string file;
  Text origin;
  Text problem;
};

void expect_cases(const Case* begin, const Case* end) {
  for (const Case* c = begin; c != end; ++c) {
    const SiteSettings settings = parse_site_settings(c->file);
    EXPECT_EQ(settings.origin, c->origin) << c->file;
    EXPECT_EQ(settings.problem, c->problem) << c->file;
  }
}

TEST(SiteSettings, SoundFilesNameTheSiteOrNothing) {
  const Case cases[] = {
      {"", "", ""},
      {"[site]\naddress=127.0.0.1:8765\n", "http://127.0.0.1:8765", ""},
      {"[site]\naddress=example.org", "http://example.org", ""},
      {"\xEF\xBB\xBF[Site]\r\nAddress = https://Example.org \r\n", "https://Example.org", ""},
      {" [ site ] \n\taddress\t=\tHTTPS://h-1.example_2.org:443/\t\n", "https://h-1.example_2.org:443", ""},
      {"[site]\naddress=h:0080", "http://h:80", ""},
      {"[site]\naddress=[::1]:8080", "http://[::1]:8080", ""},
      {"[site]\naddress=[fe80::1]", "http://[fe80::1]", ""},
      // comments, blank lines, other sections and other keys are passed over
      {"; 搜索网站\n# address=x y\n\n[other]\naddress=not a host\n[site]\nport=1\naddress=h\n", "http://h", ""},
      {"[site]\nport=1\n", "", ""},
      {"[window]\nwidth=3\n", "", ""},
      // a section name whose double-byte character ends in the byte of ']'
      {"[site]\n[\x81\x5D]\naddress=h\n", "", ""},
      {u8"; 说明：下面是网站\n[site]\naddress=127.0.0.1\n", "http://127.0.0.1", ""},
  };
  expect_cases(std::begin(cases), std::end(cases));
}

TEST(SiteSettings, MalformedFilesSayWhatIsWrongAndNameNoSite) {
  const Case cases[] = {
      {"[site]\naddress=h:99999", "", "第 2 行：地址“h:99999”的端口“99999”不是 1 到 65535 之间的数"},
      {"[site]\naddress=h:0", "", "第 2 行：地址“h:0”的端口“0”不是 1 到 65535 之间的数"},
      {"[site]\naddress=h:", "", "第 2 行：地址“h:”的端口“”不是 1 到 65535 之间的数"},
      {"[site]\naddress=h:-1", "", "第 2 行：地址“h:-1”的端口“-1”不是 1 到 65535 之间的数"},
      {"[site]\naddress=h:80a", "", "第 2 行：地址“h:80a”的端口“80a”不是 1 到 65535 之间的数"},
      {"[site]\naddress=h:000080", "", "第 2 行：地址“h:000080”的端口“000080”不是 1 到 65535 之间的数"},
      {"[site]\naddress=\r\n", "", "第 2 行：address 的值是空的，没有写网站的主机名"},
      {"[site]\naddress=http://", "", "第 2 行：地址“http://”中没有主机名"},
      {"[site]\naddress=:8080", "", "第 2 行：地址“:8080”中没有主机名"},
      {"[site]\naddress=a b", "", "第 2 行：地址“a b”中有空格"},
      {"[site]\naddress=h:80 ; the port", "", "第 2 行：地址“h:80 ; the port”中有空格"},
      {"[site]\naddress=ftp://h", "", "第 2 行：地址“ftp://h”只能以 http:// 或 https:// 开头"},
      {"[site]\naddress=://h", "", "第 2 行：地址“://h”只能以 http:// 或 https:// 开头"},
      {"[site]\naddress=h/search", "", "第 2 行：地址“h/search”只能是主机名和可选的端口，不能带路径"},
      {"[site]\naddress=http://h//", "", "第 2 行：地址“http://h//”只能是主机名和可选的端口，不能带路径"},
      {"[site]\naddress=h?q=1", "", "第 2 行：地址“h?q=1”只能是主机名和可选的端口，不能带路径"},
      {"[site]\naddress=\"h\"", "", "第 2 行：地址“\"h\"”的主机名“\"h\"”中有不能用的字符（只能用字母、数字、“-”、“_”和“.”）"},
      {"[site]\naddress=user@h", "", "第 2 行：地址“user@h”的主机名“user@h”中有不能用的字符（只能用字母、数字、“-”、“_”和“.”）"},
      {"[site]\naddress=[::1", "", "第 2 行：地址“[::1”的主机名“[:”中有不能用的字符（只能用字母、数字、“-”、“_”和“.”）"},
      // the same Chinese host from a UTF-8 file and from a code page 936 file
      {u8"[site]\naddress=例子.cn\n", "", "第 2 行：地址“例子.cn”的主机名“例子.cn”中有不能用的字符（只能用字母、数字、“-”、“_”和“.”）"},
      {"[site]\naddress=例子.cn\n", "", "第 2 行：地址“例子.cn”的主机名“例子.cn”中有不能用的字符（只能用字母、数字、“-”、“_”和“.”）"},
      {"address=h\n[site]\n", "", "第 1 行的 address 要写在 [site] 之下"},
      {"[site\naddress=h", "", "第 1 行“[site”不是 [节名] 的样子"},
      {"[site]x\naddress=h", "", "第 1 行“[site]x”不是 [节名] 的样子"},
      {"[site]\n\njunk\n", "", "第 3 行“junk”既不是 [节名]，也不是 名称=值"},
      {"[site]\n=h\n", "", "第 2 行“=h”的等号前没有名称"},
      {"[site]\naddress=a\n[other]\n[SITE]\naddress=b\n", "", "[site] 中 address 写了两次（第 2 行和第 5 行）"},
      {std::string("\xFF\xFE[\0s\0", 6), "", "文件中有零字节（也许存成了 UTF-16），请存为 UTF-8 或 GBK 编码"},
      {std::string("[site]\naddress=h\0", 17), "", "文件中有零字节（也许存成了 UTF-16），请存为 UTF-8 或 GBK 编码"},
  };
  expect_cases(std::begin(cases), std::end(cases));
}

TEST(SiteSettings, MessageNamesTheFileTheProblemAndTheSiteUsedInstead) {
  EXPECT_EQ(site_settings_message("C:\\程序\\quenlit.ini", "第 2 行：地址“a b”中有空格", "http://search.example.invalid"),
            "设置文件 C:\\程序\\quenlit.ini 有误：\r\n第 2 行：地址“a b”中有空格。\r\n\r\n"
            "这次将使用默认的搜索网站 http://search.example.invalid。");
}

}  // namespace
