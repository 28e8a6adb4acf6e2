#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regex/case_folding.h"
#include "regex/regex_engine.h"
#include "search/result_rows.h"
#include "text/code_page.h"

namespace {

std::u16string u(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::string a(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

// Each match written as its value, groups after it in brackets ("-" for a
// group that took no part), matches joined by spaces.
RegexOptions options_of(const std::string& flags) {
  RegexOptions options;
  options.global = flags.find('g') != std::string::npos;
  options.ignore_case = flags.find('i') != std::string::npos;
  options.multiline = flags.find('m') != std::string::npos;
  return options;
}

// What the pattern compiled to, for the message of a failing check.
std::string dump_of(const std::string& pattern, const std::string& flags) {
  auto re = CompiledRegex::compile(u(pattern), options_of(flags));
  return re ? re->dump() : "<invalid>";
}

std::string run(const std::string& pattern, const std::string& text, const std::string& flags = "g") {
  auto re = CompiledRegex::compile(u(pattern), options_of(flags));
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
      // a greedy run goes back only to where what follows it occurs
      {"a.*b(?=c)", "abcab", "g", "ab"},
      {"(.*)x\\d", "1x2x3xa", "", "1x2x3[1x2]"},
      {"a.*B", "abcb ab", "gi", "abcb ab"},
      {"a.{0,2}b", "axxxb axb", "g", "axb"},
      {"<(.*)>.", "<a>b<c>\n<d>e", "g", "<a>b[a] <d>e[d]"},
      {"<(.*)>", "<a\n<b>c>", "g", "<b>c>[b>c]"},
      {"(\\d*)7", "1727 07", "g", "1727[172] 07[0]"},
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
    SCOPED_TRACE(dump_of(c.pattern, c.flags));
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

TEST(CaseFolding, EveryLetterHasOnePartnerBothWays) {
  int lower = 0;
  for (unsigned c = 0; c <= 0xFFFF; ++c) {
    const auto unit = static_cast<char16_t>(c);
    const char16_t upper = fold_case(unit);
    ASSERT_EQ(fold_case(upper), upper) << std::hex << c;
    ASSERT_EQ(fold_case(unfold_case(upper)), upper) << std::hex << c;
    if (upper != unit) {
      ++lower;
      ASSERT_EQ(unfold_case(upper), unit) << std::hex << c;
    }
  }
  // a-z, Latin-1 (31, with y diaeresis), Latin Extended-A (61), Greek (33), Cyrillic (48), full-width (26)
  EXPECT_EQ(lower, 26 + 31 + 61 + 33 + 48 + 26);
}

TEST(RegexEngine, EveryCodeUnitScannedCountsAgainstTheBudget) {
  // From each 'a' the run goes back over three thousand units looking for
  // another 'b' once the one 'b' fails: few instructions but millions of
  // code units, enough to spend a budget of one million.
  RegexOptions options;
  auto re = CompiledRegex::compile(u"a.*b(?=x)|c", options);
  const std::u16string text = u(std::string(3000, 'a') + "b\nc");
  const auto spent = re->execute(text, 1'000'000);
  EXPECT_TRUE(spent.empty());
  EXPECT_FALSE(spent.complete());
  // With the whole budget, that line has its share and the next one is searched.
  const auto matches = re->execute(text);
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(matches[0].index(), 3002);
}

std::string repeated(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(RegexEngine, MatchesAndFramesStayWithinTheMemoryBudget) {
  RegexOptions options;
  options.global = true;
  // Every match holds 6002 slots (24 KB): 200 001 of them would take 4.8 GB.
  auto groups = CompiledRegex::compile(u("(?:b" + repeated("()", 3000) + ")?"), options);
  const size_t budget = size_t{4} << 20;
  const auto matches = groups->execute(u(std::string(200000, 'a')), CompiledRegex::kStepBudget, budget);
  ASSERT_FALSE(matches.empty());
  EXPECT_FALSE(matches.complete());
  EXPECT_LE(matches.held_bytes(), budget);
  EXPECT_LT(matches.size(), budget / (6002 * 4) + 1);
  // What was found before the budget ran out is kept as found.
  for (size_t i = 0; i < matches.size(); ++i) ASSERT_EQ(matches[i].index(), static_cast<std::int32_t>(i));
  // One frame per pass of a loop that never ends: the frames run out, not the machine.
  auto loop = CompiledRegex::compile(u"(a){0,2147483647}b", options);
  const auto none = loop->execute(u(std::string(1 << 20, 'a')), CompiledRegex::kStepBudget, budget);
  EXPECT_TRUE(none.empty());
  EXPECT_FALSE(none.complete());
}

TEST(RegexEngine, ClearingTheGroupsOfALoopPassCountsAgainstTheBudget) {
  // Each pass clears 20 000 groups: thirty passes are 600 000 steps.
  RegexOptions options;
  auto re = CompiledRegex::compile(u("(?:a|" + repeated("()", 20000) + ")*b"), options);
  const std::u16string text = u(std::string(30, 'a') + "b");
  EXPECT_TRUE(re->execute(text, 300'000).empty());
  EXPECT_EQ(re->execute(text).size(), 1u);
}

TEST(RegexEngine, APathologicalLineCostsThatLineOnly) {
  // Exponential on the first line: it gets its share and is skipped; the
  // second line is still searched.
  RegexOptions options;
  options.global = true;
  auto re = CompiledRegex::compile(u"(a*)*b|c", options);
  const auto matches = re->execute(u(std::string(30, 'a') + "\nc c"));
  ASSERT_EQ(matches.size(), 2u);
  EXPECT_EQ(matches[0].index(), 31);
  EXPECT_EQ(matches[1].index(), 33);
  EXPECT_FALSE(matches.complete());
}

TEST(RegexEngine, WorkOnALineDoesNotGrowWithTheRunsStartingOnIt) {
  // Thirty thousand openers on one line, none closed there: each would run to
  // the line's end and back (a billion units) but for what the first one
  // learnt. A budget of one million is plenty.
  RegexOptions options;
  options.global = true;
  for (const char16_t* pattern : {u"<s>(.*)</s>", u"<s>(.*)./s>", u"<s>(.*)<.s>"}) {
    auto re = CompiledRegex::compile(pattern, options);
    const auto matches = re->execute(u(repeated("<s>", 30000) + "\n<s>x</s>"), 1'000'000);
    ASSERT_EQ(matches.size(), 1u) << dump_of(a(pattern), "g");
    EXPECT_EQ(matches[0].index(), 90001);
    EXPECT_TRUE(matches.complete());
  }
}

TEST(RegexEngine, FieldPatternsStayLinearOnHostileLines) {
  // Twenty thousand openers of a field that none of them closes, then one
  // well-formed field: work on the openers must not grow with their number
  // (quadratic would be billions of steps), so four million are plenty and
  // the field after them is found.
  const Text values[] = {"Ubuntu 22.04", "2021-05-06", "1.5 GB", "123", "abcdef0123", "thunder://x"};
  for (size_t i = 0; i < field_patterns.size(); ++i) {
    const Text& pattern = *field_patterns[i];
    const Text opener = pattern.substr(0, pattern.find('('));
    const Text hit = opener + values[i] + pattern.substr(pattern.rfind(')') + 1);
    Text page;
    for (int k = 0; k < 20000; ++k) page += opener;
    page += "\n" + hit;
    RegexOptions options;
    options.ignore_case = options.multiline = options.global = true;
    const auto re = CompiledRegex::compile(*multibyte_to_utf16(kCodePageGbk, pattern), options);
    ASSERT_TRUE(re);
    SCOPED_TRACE(re->dump());
    const std::u16string text = *multibyte_to_utf16(kCodePageGbk, page);
    const auto matches = re->execute(text, 4'000'000);
    ASSERT_EQ(matches.size(), 1u) << i;
    const RegexMatch m = matches[0];
    EXPECT_EQ(*utf16_to_multibyte(kCodePageGbk, std::u16string_view(text).substr(m.slots[2], m.slots[3] - m.slots[2])),
              values[i]);
    EXPECT_TRUE(matches.complete());
  }
}

TEST(RegexProgram, DumpNamesEveryOperationAndItsOperands) {
  const std::string dump = dump_of("(a|[b-d])*?x.*y", "i");
  EXPECT_EQ(dump,
            "0: Save slot=0\n"
            "1: RepeatStart loop=0\n"
            "2: RepeatCheck loop=0 min=0 max=-1 lazy exit=10 groups=1..2\n"
            "3: Save slot=2\n"
            "4: Split first=5 second=7\n"
            "5: Char unit=A\n"
            "6: Jump target=8\n"
            "7: Class index=0\n"
            "8: Save slot=3\n"
            "9: RepeatEnd loop=0 check=2\n"
            "10: Char unit=X\n"
            "11: Run atom=Any min=0 max=-1 greedy follow=0 memo=0\n"
            "12: Char unit=Y\n"
            "13: Save slot=1\n"
            "14: Match\n"
            "class 0: [B-D][b-d]\n"
            "follow 0: Y\n"
            "groups=1 loops=1 looks=0 runs=1 ignore-case\n");
}

TEST(RegexEngine, ALongLiteralComparedAtManyPlacesCountsAgainstTheBudget) {
  // The literal almost matches at every place: a hundred million units compared.
  RegexOptions options;
  auto re = CompiledRegex::compile(u(std::string(1000, 'a')), options);
  const std::u16string text = u(repeated(std::string(999, 'a') + "b", 100));
  const auto matches = re->execute(text, 1'000'000);
  EXPECT_TRUE(matches.empty());
  EXPECT_FALSE(matches.complete());
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
