#include <gtest/gtest.h>

#include "regex/regex_object.h"

namespace {

TEST(RegexObject, OmittedOptionsIgnoreCaseAndCollectEveryMatchLineByLine) {
  RegexObject re;
  ASSERT_TRUE(re.create("^a(.)", "Ab\nac\nAD"));
  ASSERT_EQ(re.match_count(), 3);
  EXPECT_EQ(re.submatch_text(1, 1), "b");
  EXPECT_EQ(re.submatch_text(3, 1), "D");
  EXPECT_EQ(re.submatch_count(), 1);
  EXPECT_EQ(re.pattern(), "^a(.)");
}

TEST(RegexObject, OptionsGivenAsFalseDifferFromOmitted) {
  RegexObject re;
  re.create("a", "aAa", true);  // case-sensitive
  EXPECT_EQ(re.match_count(), 2);
  re.create("^a", "a\na", std::nullopt, false);  // not multiline
  EXPECT_EQ(re.match_count(), 1);
  re.create("a", "aaa", std::nullopt, std::nullopt, false);  // not global
  EXPECT_EQ(re.match_count(), 1);
}

TEST(RegexObject, QuoteMarkerBecomesADoubleQuoteOnlyWhenAsked) {
  RegexObject re;
  re.create("href=#引号(.*)#引号", "<a href=\"x\">", std::nullopt, std::nullopt, std::nullopt, true);
  EXPECT_EQ(re.pattern(), "href=\"(.*)\"");
  EXPECT_EQ(re.submatch_text(1, 1), "x");
  re.create("#引号", "#引号", std::nullopt, std::nullopt, std::nullopt, false);
  EXPECT_EQ(re.pattern(), "#引号");
  EXPECT_EQ(re.match_count(), 1);
  // A marker straddling a double-byte character is not one: "中#" then "引号".
  re.create("\xD6#引号", "", std::nullopt, std::nullopt, std::nullopt, true);
  EXPECT_EQ(re.pattern(), "\xD6#引号");
}

TEST(RegexObject, NumberingStartsAtOneAndMissingThingsReadEmpty) {
  RegexObject re;
  EXPECT_EQ(re.pattern(), "");
  EXPECT_EQ(re.replace("x"), "");
  EXPECT_EQ(re.match_count(), 0);
  ASSERT_TRUE(re.create("(b)|(c)", "abc"));
  EXPECT_EQ(re.match_text(0), "");
  EXPECT_EQ(re.match_text(1), "b");
  EXPECT_EQ(re.match_text(3), "");
  EXPECT_EQ(re.submatch_text(1, 0), "");
  EXPECT_EQ(re.submatch_text(1, 2), "");  // took no part
  EXPECT_EQ(re.submatch_text(2, 2), "c");
  EXPECT_EQ(re.submatch_text(-1, 1), "");
  ASSERT_TRUE(re.create("(z)", "abc"));
  EXPECT_EQ(re.match_count(), 0);
  EXPECT_EQ(re.submatch_count(), 0);
}

TEST(RegexObject, InvalidPatternGivesNothing) {
  RegexObject re;
  EXPECT_FALSE(re.create("(a", "aaa"));
  EXPECT_EQ(re.match_count(), 0);
  EXPECT_EQ(re.match_text(1), "");
  EXPECT_EQ(re.submatch_count(), 0);
  EXPECT_EQ(re.replace("x"), "");
}

TEST(RegexObject, CreateAgainReplacesMatchesAndText) {
  RegexObject re;
  re.create("a", "aaa");
  re.create("b", "xbx");
  EXPECT_EQ(re.match_count(), 1);
  EXPECT_EQ(re.replace("[$&]"), "x[b]x");
}

TEST(RegexObject, CopiesShareMatchesButNotAFurtherCreate) {
  RegexObject original;
  original.create("(\\d)", "1 2");
  RegexObject copy(original);
  EXPECT_EQ(copy.match_count(), 2);
  EXPECT_EQ(copy.submatch_text(2, 1), "2");
  copy.create("x", "x");
  EXPECT_EQ(original.match_count(), 2);
  EXPECT_EQ(copy.match_count(), 1);
}

TEST(RegexObject, ChineseTextsKeepTheirBytes) {
  RegexObject re;
  ASSERT_TRUE(re.create("创建日期：<span>(.*)</span>", "x创建日期：<span>2020年</span></span>\n"));
  EXPECT_EQ(re.submatch_text(1, 1), "2020年</span>");
}

TEST(RegexObject, PositionSearchStartsOneByteBeforeTheCharacterOffset) {
  RegexObject re;
  int position = 99;
  re.create("a", "aaa");
  re.match_text(1, &position);
  EXPECT_EQ(position, 0);
  re.match_text(2, &position);
  EXPECT_EQ(position, 0);
  re.match_text(3, &position);
  EXPECT_EQ(position, 1);

  // One double-byte character, then the match: FirstIndex 1, found at byte 2.
  re.create("x", "中x");
  re.match_text(1, &position);
  EXPECT_EQ(position, 2);

  // Two double-byte characters: the search starts on the first one's second
  // byte and, stepping by characters from there, walks past the match.
  re.create("x", "中中x");
  re.match_text(1, &position);
  EXPECT_EQ(position, -2);
  re.create("x", "中中xx");
  re.match_text(1, &position);
  EXPECT_EQ(position, 5);

  // Group text is looked for from its match on.
  re.create("a(b)", "ab ab");
  re.submatch_text(2, 1, &position);
  EXPECT_EQ(position, 4);
}

TEST(RegexObject, PositionSearchCaseAndMissingValues) {
  RegexObject re;
  int position = 99;
  re.create("ab", "xAB");  // ignoring case: the value AB is found as it stands
  re.match_text(1, &position);
  EXPECT_EQ(position, 1);
  re.create("a|B", "bA", true);  // case-sensitive: "A"... no match for a; B no
  EXPECT_EQ(re.match_count(), 0);
  re.match_text(1, &position);
  EXPECT_EQ(position, 0);  // a missing match of a non-empty text
  re.create("q", "");
  re.match_text(1, &position);
  EXPECT_EQ(position, -2);  // ... and of an empty text
  re.create("(a)(b)?", "a");
  re.submatch_text(1, 2, &position);
  EXPECT_EQ(position, 0);
  re.submatch_text(1, 5, &position);
  EXPECT_EQ(position, 0);
}

}  // namespace
