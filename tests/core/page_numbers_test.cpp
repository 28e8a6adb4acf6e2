#include "app/page_numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

TEST(FoldFullWidth, FoldsFullWidthAsciiSpacesTildeAndStarsOnly) {
  const struct {
    Text in;
    Text out;
  } cases[] = {
      {"３．５", "3.5"},
      {"－１２", "-12"},
      {"ＡＢｃ！", "ABc!"},
      {"\xA3\xFE", "~"},        // the last full-width code: trail FE becomes 7E
      {"　1", " 1"},             // ideographic space
      {"～☆★", "~**"},
      {"中文1", "中文1"},        // other double-byte characters stay
      {"\xA3\xA0", "\xA3\xA0"},  // trail byte below the full-width range
      {"\xA1\xA2", "\xA1\xA2"},  // 、 stays
      {"12\xA3", "12"},          // a lead byte without its trail byte is dropped
      {"\xA3", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fold_full_width(c.in), c.out) << c.in;
  }
}

TEST(TextToNumber, ReadsLikeAtofAfterFolding) {
  const struct {
    Text in;
    double out;
  } cases[] = {
      {"1", 1},          {"2.5", 2.5},      {"  -2.9", -2.9},  {"\t\n+7x", 7},
      {"３", 3},         {"－５．５", -5.5}, {"　４", 4},       {"1e3", 1000},
      {"1E-2", 0.01},    {"1e", 1},         {"1e+", 1},        {".5", 0.5},
      {"5.", 5},         {".", 0},          {"-", 0},          {"abc", 0},
      {"", 0},           {"e5", 0},         {"12abc34", 12},   {"4294967295", 4294967295.0},
      {"1.00000001", 1.00000001},
      // decimal only: no hexadecimal, infinity or NaN forms
      {"0x10", 0},       {"0X1p4", 0},      {"0x", 0},         {"0x.8", 0},
      {"-0x1.8p1", 0},   {"0x1F", 0},       {"０ｘ１０", 0},   {"1x10", 1},
      {"inf", 0},        {"-Infinity", 0},  {"INF", 0},        {"nan", 0},
      {"-nan", 0},       {"NaN(1)", 0},     {"ｉｎｆ", 0},     {"  +inf", 0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(text_to_number(c.in), c.out) << c.in;
  }
  EXPECT_EQ(text_to_number("1e999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(text_to_number("1e-999"), 0.0);
  EXPECT_EQ(text_to_number(Text(5000, '9') + "x"), std::numeric_limits<double>::infinity());
}

TEST(TextToInteger, ReadsLikeAtolWrappingModulo2To32) {
  const struct {
    Text in;
    std::int32_t out;
  } cases[] = {
      {"1", 1},
      {"2.5", 2},
      {"abc", 0},
      {"", 0},
      {" -5", -5},
      {"+3x", 3},
      {"４", 4},
      {"－４", -4},
      {"4294967296", 0},
      {"4294967295", -1},
      {"4294967297", 1},
      {"2147483648", std::numeric_limits<std::int32_t>::min()},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"1e5", 1},
      {"99999999999999999999", static_cast<std::int32_t>(1661992959)},  // 10^20 - 1 mod 2^32
      {"0x10", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text_to_integer(c.in), c.out) << c.in;
  }
}

TEST(NumberToText, WritesPercentPoint13g) {
  const struct {
    double in;
    Text out;
  } cases[] = {
      {2.0, "2"},
      {0.5, "0.5"},
      {-4, "-4"},
      {3.5, "3.5"},
      {4294967296.0, "4294967296"},
      {1234567890123.0, "1234567890123"},
      {1e13, "1e+13"},
      {12345678901234.0, "1.234567890123e+13"},
      {0.0001, "0.0001"},
      {0.00001, "1e-05"},
      {1.0 / 3, "0.3333333333333"},
      {0.0, "0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(number_to_text(c.in), c.out) << c.in;
  }
}

TEST(PageFromNumber, CutsTowardZeroKeepingTheLow32BitsOfA64BitInteger) {
  const struct {
    double in;
    std::int32_t out;
  } cases[] = {
      {2.9, 2},
      {-2.9, -2},
      {0.5, 0},
      {4294967297.0, 1},
      {4294967296.0, 0},
      {2147483648.0, std::numeric_limits<std::int32_t>::min()},
      {-4294967295.0, 1},
      {9223372036854774784.0, -1024},  // 2^63 - 1024, the largest double below 2^63
      {9223372036854775808.0, 0},   // 2^63: beyond the range
      {-9223372036854775808.0, 0},  // -2^63 is in range, its low 32 bits are 0
      {1e300, 0},
      {-1e300, 0},
      {std::numeric_limits<double>::infinity(), 0},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(page_from_number(c.in), c.out) << c.in;
  }
  EXPECT_EQ(page_from_number(text_to_number("abc")), 0);
  EXPECT_EQ(page_from_number(text_to_number("4294967297")), 1);
  // The search button asks for page 0 for these.
  for (const Text box : {"0x10", "inf", "nan", "-inf"}) {
    EXPECT_EQ(page_from_number(text_to_number(box)), 0) << box;
  }
}

TEST(PageCommands, NextPageAddsOneAndThePageIsReadBackFromTheText) {
  const struct {
    Text box;
    Text after;
    std::int32_t page;
  } cases[] = {
      {"1", "2", 2},   {"2.5", "3.5", 3},   {"abc", "1", 1}, {"", "1", 1},
      {"３", "4", 4},  {"-5", "-4", -4},    {"4294967295", "4294967296", 0},
      {"0.5", "1.5", 1},
      {"0x10", "1", 1},  {"inf", "1", 1},     {"nan", "1", 1}, {"-inf", "1", 1},
  };
  for (const auto& c : cases) {
    const Text after = next_page_text(c.box);
    EXPECT_EQ(after, c.after) << c.box;
    EXPECT_EQ(text_to_integer(after), c.page) << c.box;
  }
}

TEST(PageCommands, PreviousPageStopsUnlessTheNumberStaysAboveZero) {
  for (const Text box : {"1", "0", "1.00000001", "abc", "", "-3", "nan", "inf", "0x10"}) {
    EXPECT_FALSE(previous_page_text(box).has_value()) << box;
  }
  const struct {
    Text box;
    Text after;
    std::int32_t page;
  } cases[] = {{"2", "1", 1}, {"1.5", "0.5", 0}, {"４", "3", 3}, {"1.25", "0.25", 0}, {"1.001", "0.0009999999999999", 0}};
  for (const auto& c : cases) {
    const auto after = previous_page_text(c.box);
    ASSERT_TRUE(after.has_value()) << c.box;
    EXPECT_EQ(*after, c.after) << c.box;
    EXPECT_EQ(text_to_integer(*after), c.page) << c.box;
  }
}

}  // namespace
