#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regex/regex_engine.h"

namespace {

std::u16string u(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::string a(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

// Each match written as its value, groups after it in brackets ("-" for a
// group that took no part), matches joined by spaces.
std::string run(const std::string& pattern, const std::string& text, const std::string& flags = "g") {
  RegexOptions options;
  options.global = flags.find('g') != std::string::npos;
  options.ignore_case = flags.find('i') != std::string::npos;
  options.multiline = flags.find('m') != std::string::npos;
  auto re = CompiledRegex::compile(u(pattern), options);
  if (!re) return "<invalid>";
  const std::u16string subject = u(text);
  std::string out;
  bool first = true;
  for (const RegexMatch& m : re->execute(subject)) {
    if (!first) out += ' ';
    first = false;
    out += a(std::u16string_view(subject).substr(m.index(), m.length()));
    for (int g = 1; g <= re->group_count(); ++g) {
      out += '[';
      out += m.group_matched(g) ? a(std::u16string_view(subject).substr(m.slots[2 * g], m.slots[2 * g + 1] - m.slots[2 * g])) : "-";
      out += ']';
    }
  }
  return out;
}

struct SyntaxCase {
  const char* pattern;
  const char* text;
  const char* flags;
  const char* expected;
};

TEST(RegexSyntax, Table) {
  const SyntaxCase cases[] = {
      // literals, dot, escapes
      {"abc", "xabcabc", "g", "abc abc"},
      {"abc", "xabcabc", "", "abc"},
      {"a.c", "abc a\nc axc", "g", "abc axc"},
      {"\\n", "a\nb", "g", "\n"},
      {"\\t\\r", "\t\r", "g", "\t\r"},
      {"\\x41\\u0042", "AB", "g", "AB"},
      {"\\.\\*\\\\", ".*\\", "g", ".*\\"},
      {"\\q", "q", "g", "q"},
      {"\\cJ\\c1", "\n\\c1", "g", "\n\\c1"},  // \c without a control letter is a backslash
      // classes
      {"[a-c]+", "xabcdcba", "g", "abc cba"},
      {"[^a-c]+", "abxyzc", "g", "xyz"},
      {"[\\d.]+", "v1.25a", "g", "1.25"},
      {"[a\\-z]", "-bz", "g", "- z"},
      {"[]a]", "]a", "g", ""},  // [] matches nothing
      {"\\d+\\D\\w+\\W\\s\\S", "12x_ab! q", "g", "12x_ab! q"},
      // anchors and boundaries
      {"^a", "a\na", "g", "a"},
      {"^a", "a\na", "gm", "a a"},
      {"a$", "a\na", "g", "a"},
      {"a$", "a\na", "gm", "a a"},
      {"\\bab", "ab cab ab", "g", "ab ab"},
      {"\\Bab", "ab cab ab", "g", "ab"},
      // groups, alternation, look-ahead
      {"(a)(?:b)(c)?", "ab abc", "g", "ab[a][-] abc[a][c]"},
      {"cat|dog|bird", "dog cat bird", "g", "dog cat bird"},
      {"a(?=b)", "ab ac", "g", "a"},
      {"a(?!b)", "ab ac", "g", "a"},
      {"(?=(\\w+))\\w", "ab", "", "a[ab]"},
      {"(a|ab)(c|bcd)(d*)", "abcd", "", "abcd[a][bcd][]"},
      // look-aheads are atomic; captures of a failed or negative one are undone
      {"(?=(a+))a*b\\1", "baaabac", "", "aba[a]"},
      {"(?=(a))a\\1", "a aa", "g", "aa[a]"},
      {"(?!(a))\\w", "ab", "g", "b[-]"},
      {"(?!a|b)\\w", "abc", "g", "c"},
      {"(?:(?=(\\w))\\w)+", "ab", "", "ab[b]"},
      {"(?=a(?=b))ab", "acab", "g", "ab"},
      {"x(?=(y)z|(y))", "xy xyz", "g", "x[-][y] x[y][-]"},
      // quantifiers
      {"a*", "baa", "g", " aa "},
      {"a+?", "aaa", "g", "a a a"},
      {"a{2}", "aaaaa", "g", "aa aa"},
      {"a{2,}", "a aaa", "g", "aaa"},
      {"a{1,2}", "aaa", "g", "aa a"},
      {"a{1,2}?", "aaa", "g", "a a a"},
      {"<(.*)>", "<a><b>", "", "<a><b>[a><b]"},
      {"<(.*?)>", "<a><b>", "g", "<a>[a] <b>[b]"},
      {"(ab)+", "ababab", "", "ababab[ab]"},
      {"(ab){2}", "ababab", "g", "abab[ab]"},
      {"(a|b)*?c", "abac", "", "abac[a]"},
      {"(z)((a+)?(b+)?(c))*", "zaacbbbcac", "", "zaacbbbcac[z][ac][a][-][c]"},
      {"(a*)*", "b", "", "[-]"},
      {"(a*)+", "b", "", "[]"},
      {"(?:a|)*b", "aab", "", "aab"},
      {"x{1,3}y", "xxxxy", "g", "xxxy"},
      {"\\d{1,100000}", "ab12345cd6", "g", "12345 6"},
      {"a{,2}", "a{,2}", "g", "a{,2}"},
      {"{", "{", "g", "{"},
      // back-references
      {"(\\w)\\1", "abccd", "g", "cc[c]"},
      {"(a)|\\1b", "b", "", "b[-]"},
      // ... and where no such group exists, an octal escape or the digit itself
      {"a\\18", "a\0018", "g", "a\0018"},
      {"(a)\\12", "a\n", "g", "a\n[a]"},
      {"(a)\\8", "a8", "g", "a8[a]"},
      {"\\777", "?7", "g", "?7"},
      // the required-literal search: overlaps, case, the end of the text
      {"aab", "aaab aab", "g", "aab aab"},
      {"kx", "KX kx Kx", "gi", "KX kx Kx"},
      {"abc", "ab", "g", ""},
      {"<dl class=\"BotInfo\">(x)", "<DL CLASS=\"botinfo\">x", "gi", "<DL CLASS=\"botinfo\">x[x]"},
      // case
      {"ABC", "xabc", "gi", "abc"},
      {"[a-c]+", "ABC", "gi", "ABC"},
      {"[^a]+", "AbaB", "gi", "b B"},
      {"[^A-Z]", "aA1", "gi", "1"},
      {"(a)\\1", "aA", "gi", "aA[a]"},
      // invalid patterns
      {"(", "", "", "<invalid>"},
      {"a)", "", "", "<invalid>"},
      {"[a", "", "", "<invalid>"},
      {"*a", "", "", "<invalid>"},
      {"a**", "", "", "<invalid>"},
      {"a{3,2}", "", "", "<invalid>"},
      {"[z-a]", "", "", "<invalid>"},
      {"(?<x>a)", "", "", "<invalid>"},
      {"\\", "", "", "<invalid>"},
      // empty pattern: one empty match per position
      {"", "ab", "g", "  "},
  };
  for (const SyntaxCase& c : cases) {
    EXPECT_EQ(run(c.pattern, c.text, c.flags), c.expected) << "pattern " << c.pattern << " on " << c.text;
  }
}

TEST(RegexEngine, CountedRepetitionOfAGroupUsesCountersNotCopies) {
  // A bound this large would take megabytes if the group were copied out.
  EXPECT_EQ(run("(?:ab){1,100000}c", "ababc"), "ababc");
  EXPECT_EQ(run("(?:ab){3,100000}c", "ababc"), "");
  EXPECT_EQ(run("(a|b){2000000000}", "ab"), "");
}

TEST(RegexEngine, LongLineDoesNotExhaustTheStack) {
  std::string line(1 << 20, 'x');
  line += "\nend";
  EXPECT_EQ(run("^(.*)$", line, "m").size(), 2 * (1u << 20) + 2);
  // A group repeated per character keeps one frame per pass on the heap.
  EXPECT_EQ(run("(?:x|y)*\\n", line, "").size(), (1u << 20) + 1);
}

TEST(RegexEngine, PathologicalBacktrackingEndsWithinTheBudget) {
  RegexOptions options;
  options.global = true;
  // Exponential without a budget; with one, the search gives up and what was
  // found before stays.
  auto nested = CompiledRegex::compile(u"(a*)*b", options);
  EXPECT_TRUE(nested->execute(u(std::string(40, 'a')), 2'000'000).empty());
  auto alternation = CompiledRegex::compile(u"(a|aa)+c|x", options);
  EXPECT_EQ(alternation->execute(u("x" + std::string(60, 'a')), 2'000'000).size(), 1u);
}

TEST(RegexEngine, IgnoringCaseBeyondAscii) {
  RegexOptions options;
  options.global = options.ignore_case = true;
  const auto count = [&](std::u16string_view pattern, std::u16string_view text) {
    const auto re = CompiledRegex::compile(pattern, options);
    return re ? static_cast<int>(re->execute(text).size()) : -1;
  };
  EXPECT_EQ(count(u"\u00E9", u"\u00E9\u00C9e"), 2);  // Latin-1
  // Latin Extended-A, pairs on odd and on even units
  EXPECT_EQ(count(u"\u013A\u0101", u"\u0139\u0100 \u013A\u0101 \u0139a"), 2);
  EXPECT_EQ(count(u"\u00FF", u"\u00FF\u0178y"), 2);
  EXPECT_EQ(count(u"\u03C3\u03AC", u"\u03A3\u0386 \u03C3\u03AC"), 2);  // Greek, with tonos
  EXPECT_EQ(count(u"\u0436\u0416", u"\u0416\u0416 \u0436\u0436"), 2);  // Cyrillic
  EXPECT_EQ(count(u"\uFF42", u"\uFF42\uFF22b"), 2);  // full-width Latin
  EXPECT_EQ(count(u"[^\u0101-\u017E]", u"\u0100\u017Da"), 1);  // a negated range refuses both cases
  EXPECT_EQ(count(u"\u4E2D", u"\u4E2D"), 1);
}

TEST(RegexEngine, EveryCodeUnitScannedCountsAgainstTheBudget) {
  // Each 'a' runs ".*" to the end of the line and back: few instructions but
  // millions of code units, enough to spend a budget of one million.
  RegexOptions options;
  auto re = CompiledRegex::compile(u"a.*b|c", options);
  const std::u16string text = u(std::string(3000, 'a') + "c");
  EXPECT_TRUE(re->execute(text, 1'000'000).empty());
  ASSERT_EQ(re->execute(text).size(), 1u);
  EXPECT_EQ(re->execute(text)[0].index(), 3000);
}

TEST(RegexEngine, LiteralSearchFindsEveryOffset) {
  // The required literal is looked for many units at a time: it must be found
  // wherever it starts relative to those blocks, and up to the very end.
  RegexOptions options;
  options.ignore_case = true;
  auto re = CompiledRegex::compile(u"needle", options);
  for (int at = 0; at < 40; ++at) {
    const std::u16string text = u(std::string(at, 'x') + "NeeDLe" + std::string(at % 3, 'y'));
    const auto matches = re->execute(text);
    ASSERT_EQ(matches.size(), 1u) << at;
    EXPECT_EQ(matches[0].index(), at);
  }
}

TEST(RegexEngine, LookAheadsKeepNoNativeStack) {
  std::string line(1 << 20, 'x');
  EXPECT_EQ(run("^(?:(?!y)(?=x).)*$", line, "").size(), 1u << 20);
  std::string nested;
  for (int k = 0; k < 150; ++k) nested += "(?=";
  nested += "x";
  nested += std::string(150, ')');
  EXPECT_EQ(run(nested + "x", "xx", ""), "x");
}

TEST(RegexEngine, DeepNestingIsRefusedNotOverflowed) {
  EXPECT_EQ(run(std::string(100000, '(') + std::string(100000, ')'), "x"), "<invalid>");
  EXPECT_EQ(run(std::string(50, '(') + "a" + std::string(50, ')'), "a", "").substr(0, 4), "a[a]");
}

TEST(RegexEngine, ReplaceExpandsReferences) {
  RegexOptions options;
  options.global = true;
  auto re = CompiledRegex::compile(u"(\\w)(\\d)", options);
  ASSERT_TRUE(re);
  EXPECT_EQ(a(re->replace(u"a1 b2", u"$2$1")), "1a 2b");
  EXPECT_EQ(a(re->replace(u"a1 b2", u"[$&]$$")), "[a1]$ [b2]$");
  EXPECT_EQ(a(re->replace(u"xa1y", u"<$`|$'>")), "x<x|y>y");
  EXPECT_EQ(a(re->replace(u"a1", u"$3$0$")), "$3$0$");
  options.global = false;
  auto first = CompiledRegex::compile(u"o", options);
  EXPECT_EQ(a(first->replace(u"foo", u"0")), "f0o");
}

}  // namespace
