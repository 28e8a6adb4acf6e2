#include "app/page_numbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

unsigned char byte_at(const Text& text, size_t i) { return static_cast<unsigned char>(text[i]); }

bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

size_t skip_digits(const Text& s, size_t at) {
  while (at < s.size() && is_digit(s[at])) ++at;
  return at;
}

// The decimal number at `at` (after its sign): digits, fraction, exponent.
// Gives the end of the longest such number, or `at` when there is none.
size_t decimal_end(const Text& s, size_t at) {
  size_t i = skip_digits(s, at);
  bool any_digit = i > at;
  if (i < s.size() && s[i] == '.') {
    const size_t fraction = skip_digits(s, i + 1);
    if (fraction > i + 1 || any_digit) {
      any_digit = any_digit || fraction > i + 1;
      i = fraction;
    }
  }
  if (!any_digit) return at;
  if (i < s.size() && lower(s[i]) == 'e') {
    size_t e = i + 1;
    if (e < s.size() && (s[e] == '+' || s[e] == '-')) ++e;
    const size_t digits_end = skip_digits(s, e);
    if (digits_end > e) i = digits_end;
  }
  return i;
}

double read_number(const Text& s) {
  size_t at = 0;
  while (at < s.size() && is_space(s[at])) ++at;
  bool negative = false;
  if (at < s.size() && (s[at] == '+' || s[at] == '-')) negative = s[at++] == '-';
  const double sign = negative ? -1.0 : 1.0;
  // Decimal only: "0x10" reads as its leading 0, and "inf" or "nan" as no
  // number, so the page box never takes a value the page commands cannot
  // step from.
  const size_t end = decimal_end(s, at);
  if (end == at) return 0.0;
  // Only plain ASCII digits, '.', 'e' and a sign reach strtod here, and the
  // program never changes the "C" locale, so '.' is the decimal point.
  const std::string number = s.substr(at, end - at);
  return sign * std::strtod(number.c_str(), nullptr);
}

}  // namespace

Text fold_full_width(const Text& text) {
  Text folded;
  folded.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char lead = byte_at(text, i);
    if (lead < 0x80) {
      folded += static_cast<char>(lead);
      continue;
    }
    if (i + 1 >= text.size()) break;  // a lead byte without its trail byte
    const unsigned char trail = byte_at(text, ++i);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      folded += static_cast<char>(trail - 0x80);
    } else if (lead == 0xA1 && trail == 0xA1) {
      folded += ' ';
    } else if (lead == 0xA1 && trail == 0xAB) {
      folded += '~';
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      folded += '*';
    } else {
      folded += static_cast<char>(lead);
      folded += static_cast<char>(trail);
    }
  }
  return folded;
}

double text_to_number(const Text& text) { return read_number(fold_full_width(text)); }

std::int32_t text_to_integer(const Text& text) {
  const Text s = fold_full_width(text);
  size_t at = 0;
  while (at < s.size() && is_space(s[at])) ++at;
  bool negative = false;
  if (at < s.size() && (s[at] == '+' || s[at] == '-')) negative = s[at++] == '-';
  std::uint32_t value = 0;
  for (; at < s.size() && is_digit(s[at]); ++at) value = value * 10u + static_cast<std::uint32_t>(s[at] - '0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

Text number_to_text(double number) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.13g", number);
  return buffer;
}

std::int32_t page_from_number(double number) {
  if (std::isnan(number)) return 0;
  const double whole = std::trunc(number);
  constexpr double two_to_63 = 9223372036854775808.0;
  if (whole >= two_to_63 || whole < -two_to_63) return 0;
  const auto wide = static_cast<std::uint64_t>(static_cast<std::int64_t>(whole));
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(wide));
}

Text next_page_text(const Text& page_box) { return number_to_text(text_to_number(page_box) + 1); }

std::optional<Text> previous_page_text(const Text& page_box) {
  const double n = text_to_number(page_box);
  if (!(n - 1 > 0.0000001)) return std::nullopt;
  return number_to_text(n - 1);
}
