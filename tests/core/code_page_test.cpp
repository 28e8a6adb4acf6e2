// The same table runs against both back ends (iconv natively, the Win32
// conversions under Windows), so the two builds read and write texts alike.
#include "text/code_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct DecodeCase {
  const char* name;
  unsigned code_page;
  std::string bytes;
  std::u16string expected;
};

std::string b(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }
std::u16string u(std::initializer_list<char16_t> units) { return std::u16string(units); }

const std::vector<DecodeCase>& decode_cases() {
  static const std::vector<DecodeCase> cases = {
      {"936 empty", 936, "", u""},
      {"936 ascii", 936, "a+b c", u"a+b c"},
      {"936 double byte", 936, b({0xD6, 0xD0, 0xB4, 0xC5}), u"\u4E2D\u78C1"},
      {"936 full-width colon", 936, b({0xA3, 0xBA}), u"\uFF1A"},
      {"936 0x80 is the euro sign", 936, b({0x80}), u"\u20AC"},
      {"936 0xFF single byte", 936, b({0xFF}), u({0xF8F5})},
      {"936 user-defined area", 936, b({0xAA, 0xA1}), u({0xE000})},
      {"936 lead byte at the end", 936, b({'a', 0x81}), u"a?"},
      {"936 lead byte takes a bad trail along", 936, b({0x81, 0x20, 'z'}), u"?z"},
      {"936 lead byte before a zero byte", 936, b({0x81, 0x00, 'z'}), u({'?', 0, 'z'})},
      {"936 zero byte kept", 936, b({'a', 0x00, 'b'}), u({'a', 0, 'b'})},
      {"utf8 empty", 65001, "", u""},
      {"utf8 three bytes", 65001, b({0xE7, 0xA3, 0x81}), u"\u78C1"},
      {"utf8 four bytes", 65001, b({0xF0, 0x9F, 0x98, 0x80}), u({0xD83D, 0xDE00})},
      {"utf8 overlong two bytes", 65001, b({0xC0, 0x80}), u({0xFFFD, 0xFFFD})},
      {"utf8 truncated three", 65001, b({0xE1, 0x80, 'z'}), u({0xFFFD, 'z'})},
      {"utf8 truncated four", 65001, b({0xF0, 0x9F, 0x98, 'z'}), u({0xFFFD, 'z'})},
      {"utf8 truncated at the end", 65001, b({'a', 0xE7, 0xA3}), u({'a', 0xFFFD})},
      {"utf8 lone lead at the end", 65001, b({0xC2}), u({0xFFFD})},
      {"utf8 lone DE", 65001, b({0xDE}), u({0xFFFD})},
      {"utf8 stray continuation bytes", 65001, b({0x80, 0x80}), u({0xFFFD, 0xFFFD})},
      {"utf8 never-valid bytes", 65001, b({0xF5, 0xFE, 0xFF, 'z'}), u({0xFFFD, 0xFFFD, 0xFFFD, 'z'})},
      {"utf8 zero byte kept", 65001, b({'a', 0x00, 'b'}), u({'a', 0, 'b'})},
      {"utf8 long ascii runs", 65001, "0123456789a" + b({0xE4, 0xB8, 0xAD}) + "bcdefghijklmnopq" + b({0xE4}) + "xyz",
       u"0123456789a\u4E2Dbcdefghijklmnopq\uFFFDxyz"},
      // a broken start close to the end takes nothing after it along
      {"utf8 broken start before the last byte", 65001, b({0xE4, '1'}), u({0xFFFD, '1'})},
      {"utf8 broken start before the last two", 65001, b({'a', 0xF0, '1', '2'}), u({'a', 0xFFFD, '1', '2'})},
      {"utf8 broken start before a zero byte", 65001, b({0xE0, 0x00}), u({0xFFFD, 0})},
      {"utf8 two broken starts at the end", 65001, b({0xE4, 0xC2}), u({0xFFFD, 0xFFFD})},
      {"utf8 broken starts apart at the end", 65001, b({0xE4, '1', 0xC2}), u({0xFFFD, '1', 0xFFFD})},
      {"utf8 broken starts near the end", 65001, b({0xF0, 'A', 'B', 0xC2, 'x', 'y'}), u({0xFFFD, 'A', 'B', 0xFFFD, 'x', 'y'})},
  };
  return cases;
}

TEST(CodePage, DecodesTable) {
  for (const DecodeCase& c : decode_cases()) {
    const auto out = multibyte_to_utf16(c.code_page, c.bytes);
    ASSERT_TRUE(out.has_value()) << c.name;
    EXPECT_EQ(*out, c.expected) << c.name;
  }
}

#ifndef _WIN32
// Windows replaces each maximal subpart of an ill-formed sequence by one
// U+FFFD; an overlong or surrogate start is never a subpart longer than its
// first byte. (Wine merges some of these, so they are checked natively only.)
TEST(CodePage, Utf8MaximalSubparts) {
  const std::vector<DecodeCase> cases = {
      {"overlong three", 65001, b({0xE0, 0x80, 0x80}), u({0xFFFD, 0xFFFD, 0xFFFD})},
      {"surrogate", 65001, b({0xED, 0xA0, 0x80}), u({0xFFFD, 0xFFFD, 0xFFFD})},
      {"above U+10FFFF", 65001, b({0xF4, 0x90, 0x80, 0x80}), u({0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD})},
      {"overlong four", 65001, b({0xF0, 0x80, 0x80, 0x80}), u({0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD})},
      {"highest", 65001, b({0xF4, 0x8F, 0xBF, 0xBF}), u({0xDBFF, 0xDFFF})},
      {"last before surrogates", 65001, b({0xED, 0x9F, 0xBF}), u({0xD7FF})},
  };
  for (const DecodeCase& c : cases) {
    EXPECT_EQ(multibyte_to_utf16(c.code_page, c.bytes), c.expected) << c.name;
  }
}
#endif

struct EncodeCase {
  const char* name;
  unsigned code_page;
  std::u16string text;
  std::string expected;
};

TEST(CodePage, EncodesTable) {
  const std::vector<EncodeCase> cases = {
      {"936 empty", 936, u"", ""},
      {"936 ascii", 936, u"a+b c", "a+b c"},
      {"936 double byte", 936, u"\u4E2D\u78C1\uFF1A", b({0xD6, 0xD0, 0xB4, 0xC5, 0xA3, 0xBA})},
      {"936 euro sign", 936, u"\u20AC", b({0x80})},
      {"936 private use", 936, u({0xE000, 0xF8F5}), b({0xAA, 0xA1, 0xFF})},
      {"936 replacement character", 936, u({'a', 0xFFFD, 'b'}), "a?b"},
      {"936 hangul lacking", 936, u({0xAC00}), "?"},
      {"936 surrogate pair, one ? per half", 936, u({0xD83D, 0xDE00}), "??"},
      {"936 lone surrogates", 936, u({0xD83D, 'z', 0xDE00}), "?z?"},
      {"936 zero kept", 936, u({'a', 0, 'b'}), b({'a', 0, 'b'})},
      {"utf8 three bytes", 65001, u"\u78C1", b({0xE7, 0xA3, 0x81})},
      {"utf8 surrogate pair", 65001, u({0xD83D, 0xDE00}), b({0xF0, 0x9F, 0x98, 0x80})},
      {"utf8 lone surrogate", 65001, u({0xD83D, 'z'}), b({0xEF, 0xBF, 0xBD, 'z'})},
  };
  for (const EncodeCase& c : cases) {
    const auto out = utf16_to_multibyte(c.code_page, c.text);
    ASSERT_TRUE(out.has_value()) << c.name;
    EXPECT_EQ(*out, c.expected) << c.name;
  }
}

TEST(CodePage, UnknownCodePageIsUnavailable) {
  EXPECT_FALSE(multibyte_to_utf16(12345, "a").has_value());
  EXPECT_FALSE(multibyte_to_utf16(12345, "").has_value());
  EXPECT_FALSE(utf16_to_multibyte(12345, u"a").has_value());
  EXPECT_FALSE(utf16_to_multibyte(12345, u"").has_value());
}

// Every double-byte character of code page 936 comes back as the same two
// bytes, so texts survive the trip through UTF-16 (the regular expressions run
// on UTF-16) unchanged.
TEST(CodePage, Gbk936PairsRoundTrip) {
  int characters = 0;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string pair = b({static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)});
      const auto wide = multibyte_to_utf16(936, pair);
      ASSERT_TRUE(wide.has_value());
      ASSERT_EQ(wide->size(), 1u) << std::hex << lead << ' ' << trail;
      if ((*wide)[0] == u'?') continue;
      ++characters;
      EXPECT_EQ(utf16_to_multibyte(936, *wide), pair) << std::hex << lead << ' ' << trail;
    }
  }
  EXPECT_EQ(characters, 126 * 190);  // every place of the double-byte area is a character
}

}  // namespace
