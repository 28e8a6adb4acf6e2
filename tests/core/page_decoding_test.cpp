#include "search/page_decoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/code_page.h"

namespace {

std::string b(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

struct DecodeCase {
  std::string input;
  std::string plain;      // escapes undone only
  std::string converted;  // and then UTF-8 read into code page 936
};

TEST(PageDecoding, EscapesAndConversionTable) {
  const std::vector<DecodeCase> cases = {
      {"", "", ""},
      {"%E7%A3%81", b({0xE7, 0xA3, 0x81}), b({0xB4, 0xC5})},
      {"%e7%a3%81", b({0xE7, 0xA3, 0x81}), b({0xB4, 0xC5})},
      {b({0xE7, 0xA3, 0x81}), b({0xE7, 0xA3, 0x81}), b({0xB4, 0xC5})},
      {"a+b%20c", "a+b c", "a+b c"},
      {"%41%4a", "AJ", "AJ"},
      {"x%00y", "xy", "xy"},
      {"abc%", "abc", "abc"},
      {"abc%4", "abc\x40", "abc\x40"},
      {"%zz", b({0xDE}), "?"},
      {"%2z", b({0x1E}), b({0x1E})},
      {"%z2", b({0xE2}), "?"},
      {"%G", b({0xE0}), "?"},
      {"%%41", b({0xE4, '1'}), "?1"},
      {"%D6%D0A", b({0xD6, 0xD0, 0x41}), "??A"},
      {"a%-0b", b({'a', 0xE0, 'b'}), "a?b"},
      {"a%0", "a", "a"},  // the place past the end counts 0: a zero byte, dropped
      {"%", "", ""},
      {"%%", b({0xE0}), "?"},
      {"%%%", b({0xDE}), "?"},
      {"x%ff%FEy", b({'x', 0xFF, 0xFE, 'y'}), "x??y"},
      {"%E2%82%AC euro", b({0xE2, 0x82, 0xAC, ' ', 'e', 'u', 'r', 'o'}), b({0x80, ' ', 'e', 'u', 'r', 'o'})},
      {u8"磁力：<span>1.5 GB</span>", u8"磁力：<span>1.5 GB</span>", "磁力：<span>1.5 GB</span>"},
  };
  for (const DecodeCase& c : cases) {
    EXPECT_EQ(decode_page_text(c.input), c.plain) << '"' << c.input << '"';
    EXPECT_EQ(decode_page_text(c.input, false), c.plain) << '"' << c.input << '"';
    EXPECT_EQ(decode_page_text(c.input, true), c.converted) << '"' << c.input << '"';
  }
}

TEST(PageDecoding, AsciiPageComesBackUnchanged) {
  std::string page;
  for (int i = 0; i < 2000; ++i) page += "<dt>line " + std::to_string(i) + " a+b=c \"quoted\"\n";
  EXPECT_EQ(decode_page_text(page, true), page);
}

// A text ends at its first zero byte, and no result ever holds one.
TEST(PageDecoding, TextEndsAtItsFirstZeroByte) {
  EXPECT_EQ(decode_page_text(std::string("ab\0%41", 6), true), "ab");
  EXPECT_EQ(text_to_utf16(std::string("ab\0cd", 5)), u"ab");
  EXPECT_EQ(utf16_to_text(std::u16string(u"ab\0cd", 5)), "ab");
}

// Long pages are decoded and converted piece by piece: a character (or an
// invalid sequence) cut by a piece's end must come out as from the whole.
TEST(PageDecoding, LongPageConvertsAsAWhole) {
  const std::vector<std::string> fillers = {u8"中", u8"€", "\xF0\x9F\x98\x80", "\xE4\xB8", "\xC3", "\xFF", "%E4%B8%AD", "%E4"};
  for (size_t shift = 0; shift < 8; ++shift) {
    std::string page(shift, 'x');
    for (size_t i = 0; page.size() < 200 * 1024; ++i) page += fillers[(i * 7 + shift) % fillers.size()] + (i % 5 ? "" : "a");
    std::string unescaped;
    for (size_t i = 0; i < page.size(); ++i) {
      if (page[i] == '%') {
        unescaped += static_cast<char>(std::stoi(page.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        unescaped += page[i];
      }
    }
    // The whole text at once, through the code-page layer alone.
    const std::string whole =
        *utf16_to_multibyte(kCodePageGbk, *multibyte_to_utf16(kCodePageUtf8, unescaped));
    EXPECT_EQ(decode_page_text(page, true), whole) << shift;
    EXPECT_EQ(utf8_to_gbk(unescaped), whole) << shift;
  }
}

TEST(PageDecoding, Utf16Conversions) {
  // omitted code page: UTF-8 in, 936 out
  EXPECT_EQ(text_to_utf16(b({0xE4, 0xB8, 0xAD})), u"\u4E2D");
  EXPECT_EQ(utf16_to_text(u"\u4E2D"), b({0xD6, 0xD0}));
  EXPECT_EQ(utf16_to_text(u"\u4E2D", 0), b({0xD6, 0xD0}));
  EXPECT_EQ(text_to_utf16(b({0xD6, 0xD0}), 936), u"\u4E2D");
  EXPECT_EQ(utf16_to_text(u"\u4E2D", 65001), b({0xE4, 0xB8, 0xAD}));
  EXPECT_EQ(text_to_utf16(""), u"");
  EXPECT_EQ(utf16_to_text(u""), "");
  // a code page the system lacks converts nothing
  EXPECT_EQ(text_to_utf16("abc", 12345), u"");
  EXPECT_EQ(utf16_to_text(u"abc", 12345), "");
}

TEST(PageDecoding, InvalidUtf8AndMissingCharactersBecomeQuestionMarks) {
  // the same two bytes read in 936 would be one character: UTF-8 is read here
  EXPECT_EQ(utf8_to_gbk(b({0xD6, 0xD0, 'A'})), "??A");
  EXPECT_EQ(utf8_to_gbk(b({'a', 0xE7, 0xA3, 'b'})), "a?b");
  // hangul is not in 936; a character beyond the BMP gives one '?' per UTF-16 half
  EXPECT_EQ(utf8_to_gbk(b({0xED, 0x95, 0x9C, ' ', 0xF0, 0x9F, 0x98, 0x80, '.'})), "? ??.");
  EXPECT_EQ(utf8_to_gbk(u8"中文"), "中文");
}

}  // namespace
