#include "search/batch_replace.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

std::string b(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

struct ReplaceCase {
  const char* name;
  std::string source;
  std::optional<int> count;
  std::optional<int> start;
  std::optional<bool> case_sensitive;
  std::string find;
  std::string replacement;
  std::string expected;
};

TEST(BatchReplace, OnePairTable) {
  const std::nullopt_t all = std::nullopt;
  const std::vector<ReplaceCase> cases = {
      {"every occurrence", "a-b-c-", all, all, all, "-", "+", "a+b+c+"},
      {"count 1", "a-b-c-", 1, all, all, "-", "+", "a+b-c-"},
      {"count 2", "a-b-c-", 2, all, all, "-", "+", "a+b+c-"},
      {"count 0", "a-b-c-", 0, all, all, "-", "+", "a-b-c-"},
      {"negative count", "a-b-c-", -1, all, all, "-", "+", "a-b-c-"},
      {"start 5 keeps four bytes", "abcabcabc", all, 5, all, "abc", "X", "abcabcX"},
      {"start 4", "abcabcabc", all, 4, all, "abc", "X", "abcXX"},
      {"start 0 is 1", "abcabc", all, 0, all, "abc", "X", "XX"},
      {"negative start is 1", "abcabc", all, -7, all, "abc", "X", "XX"},
      {"start on the last byte", "abc", all, 3, all, "c", "X", "abX"},
      {"start past the end", "abc", all, 4, all, "c", "X", "abc"},
      {"count with start", "a-b-c-", 1, 3, all, "-", "+", "a-b+c-"},
      {"case ignored by default", "ABC abc AbC", all, all, all, "abc", "x", "x x x"},
      {"case ignored when false", "ABC abc", all, all, false, "aBc", "x", "x x"},
      {"case kept when true", "ABC abc", all, all, true, "abc", "x", "ABC x"},
      {"replacement not searched again", "aaa", all, all, all, "a", "aa", "aaaaaa"},
      {"no overlap", "aaaa", all, all, all, "aa", "b", "bb"},
      {"tail shorter than the find text", "xab", all, all, all, "abc", "X", "xab"},
      {"empty find", "abc", all, all, all, "", "X", "abc"},
      {"empty source", "", all, all, all, "a", "X", ""},
      {"delete", "<b>x</b>", all, all, all, "</b>", "", "<b>x"},
      // 0xB0 0x41 is one character whose second byte is 'A'
      {"not across the halves of a character", b({0xB0, 0x41, 0x42}), all, all, all, "AB", "X", b({0xB0, 0x41, 0x42})},
      {"after a character", b({0xB0, 0x41, 0x41, 0x42}), all, all, all, "AB", "X", b({0xB0, 0x41, 'X'})},
      {"double-byte find", "中文中", all, all, all, "中", "X", "X文X"},
      {"second byte not folded", b({0x81, 0x61}), all, all, all, b({0x81, 0x41}), "X", b({0x81, 0x61})},
      {"single-byte letter after a character folded", b({0x81, 0x41, 'q'}), all, all, all, b({0x81, 0x41, 'Q'}), "X", "X"},
      {"lead byte at the very end", b({'a', 'b', 0xB0}), all, all, all, "b", "X", b({'a', 'X', 0xB0})},
      {"start inside a character", b({0xB0, 0x41, 0x42}), all, 2, all, "AB", "X", b({0xB0, 'X'})},
  };
  for (const ReplaceCase& c : cases) {
    EXPECT_EQ(batch_replace(c.source, c.count, c.start, c.case_sensitive, c.find, c.replacement), c.expected)
        << c.name;
  }
}

TEST(BatchReplace, PairsRunInOrderOnEachOthersResult) {
  // the second pair sees what the first one made
  EXPECT_EQ(batch_replace("abc", std::nullopt, std::nullopt, std::nullopt, "a", "b", "bb", "X"), "Xc");
  EXPECT_EQ(batch_replace("1 2 3 4 5 6", std::nullopt, std::nullopt, std::nullopt, "1", "a", "2", "b", "3", "c", "4",
                          "d", "5", "e"),
            "a b c d e 6");
  // count and start hold for every pair
  EXPECT_EQ(batch_replace("x-y_x-y_", 1, 2, std::nullopt, "-", "+", "_", "="), "x+y=x-y_");
}

TEST(BatchReplace, HighlightMarkupInAnyCase) {
  const Text title = "abc <span class=\"highlight\">Key</span> d <SPAN CLASS=\"HIGHLIGHT\">E</SPAN>";
  EXPECT_EQ(batch_replace(title, std::nullopt, std::nullopt, std::nullopt, "<span class=\"highlight\">", "",
                          "</span>", ""),
            "abc Key d E");
}

}  // namespace
