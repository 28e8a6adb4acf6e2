#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "regex/regex_object.h"
#include "search/result_rows.h"

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

TEST(RegexObject, ObjectsOverEqualTextsStayIndependent) {
  // Objects created over equal texts share one stored copy; starting over on
  // one of them must leave the other's text, matches and positions alone.
  const Text page = "中b\nxa";
  RegexObject first, second;
  first.create("b", page);
  second.create("x(a)", page);
  first.create("q", "qq");
  int position = 0;
  EXPECT_EQ(second.submatch_text(1, 1, &position), "a");
  EXPECT_EQ(position, 5);
  EXPECT_EQ(second.replace("<$1>"), "中b\n<a>");
  EXPECT_EQ(first.replace("z"), "zz");
}

TEST(RegexObject, ASharedTextIsKeptNotCopied) {
  // The worker's six objects over one page hold the page it holds.
  auto page = std::make_shared<const Text>("中b\nxa xa");
  std::array<RegexObject, 2> objects;
  objects[0].create("x(a)", page);
  objects[1].create("b", page);
  EXPECT_EQ(page.use_count(), 2);  // the caller's and the objects' one stored text
  int position = 0;
  EXPECT_EQ(objects[0].match_count(), 2);
  EXPECT_EQ(objects[0].submatch_text(2, 1, &position), "a");
  EXPECT_EQ(position, 5);  // searched from the byte before the unit offset 6
  EXPECT_EQ(objects[1].replace("<$&>"), "中<b>\nxa xa");
  // An equal text passed as a plain one is searched the same.
  RegexObject plain;
  plain.create("x(a)", Text(*page));
  EXPECT_EQ(plain.submatch_text(2, 1, &position), "a");
  EXPECT_EQ(position, 5);
  objects = {};
  plain = RegexObject();
  objects[0].create("q", "q");
  EXPECT_EQ(page.use_count(), 1);
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

namespace {

// The program's own six field patterns (their texts are pinned byte for byte
// in result_rows_test), run as the worker runs them (every optional argument
// omitted) over an independent two-hit page.
const Text& field(int object) { return *field_patterns[static_cast<size_t>(object)]; }

std::string hit(const std::string& hash, const std::string& title, const std::string& date, const std::string& size,
                const std::string& popularity, const std::string& link) {
  return "<h3><a target=\"_blank\" href=\"/" + hash + ".html\">\n" + title + "\n</a></h3>\n<dl class=\"BotInfo\">\n" +
         "<div class=\"item-list\">" + title + "\n</div>\n<dt>创建日期：<span>" + date + "</span>\n文件大小：<span>" + size +
         "</span>\n访问热度：<span>" + popularity + "</span>\n</dt>\n<dd><a href=\"" + link +
         "\" class=\"download\">迅雷链接</a></dd>\n</dl>\n";
}

std::vector<std::string> group_ones(const Text& pattern, const std::string& page) {
  RegexObject re;
  EXPECT_TRUE(re.create(pattern, page));
  std::vector<std::string> out;
  for (int i = 1; i <= re.match_count(); ++i) out.push_back(re.submatch_text(i, 1));
  return out;
}

TEST(RegexObject, FieldPatternsOnAResultPage) {
  const std::string page =
      "<html>\n" +
      hit("ABCDEF0123", "Blue <span class=\"highlight\">Planet</span> 第1集", "2020-01-01", "1.2 GB", "123",
          "thunder://QUFhYmM=") +
      // Tags in capitals, a size in lower case, Chinese in every field.
      hit("a1b2.c3", "蓝色星球 <SPAN CLASS=\"highlight\">纪录片</SPAN>", "2021年3月", "700 mb", "9876543210",
          "THUNDER://x") +
      "</html>\n";
  using V = std::vector<std::string>;
  EXPECT_EQ(group_ones(field(0), page),
            (V{"Blue <span class=\"highlight\">Planet</span> 第1集", "蓝色星球 <SPAN CLASS=\"highlight\">纪录片</SPAN>"}));
  EXPECT_EQ(group_ones(field(1), page), (V{"2020-01-01", "2021年3月"}));
  EXPECT_EQ(group_ones(field(2), page), (V{"1.2 GB", "700 mb"}));
  EXPECT_EQ(group_ones(field(3), page), (V{"123", "9876543210"}));
  EXPECT_EQ(group_ones(field(4), page), (V{"ABCDEF0123", "a1b2.c3"}));
  EXPECT_EQ(group_ones(field(5), page), (V{"thunder://QUFhYmM=", "THUNDER://x"}));

  // Line feeds match line feeds only: with CR LF lines the title pattern finds nothing.
  std::string crlf;
  for (char c : page) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_TRUE(group_ones(field(0), crlf).empty());
}

TEST(RegexObject, PopularityTakesUpToOneHundredThousandDigits) {
  const std::string digits(100000, '7');
  EXPECT_EQ(group_ones(field(3), "\n访问热度：<span>" + digits + "</span>"), std::vector<std::string>{digits});
  EXPECT_TRUE(group_ones(field(3), "\n访问热度：<span>" + digits + "7</span>").empty());
}

TEST(RegexObject, MegabyteLineWithAGreedyGroup) {
  const std::string line(1 << 20, 'x');
  RegexObject re;
  ASSERT_TRUE(re.create("^(.*)$", line + "\n" + "y"));
  ASSERT_EQ(re.match_count(), 2);
  EXPECT_EQ(re.submatch_text(1, 1).size(), line.size());
  EXPECT_EQ(re.submatch_text(2, 1), "y");
}

}  // namespace
