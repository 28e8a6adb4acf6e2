#pragma once
// The page number as the page box shows it: texts to numbers and back, and the
// arithmetic of the search and page commands. Platform-free.
#include <cstdint>
#include <optional>

#include "text/text.h"

// Full-width ASCII (lead byte A3), the ideographic space, the full-width tilde
// and the two stars become their half-width forms; every other character stays.
// A lead byte left at the very end without its trail byte is dropped.
Text fold_full_width(const Text& text);

// Folds, then reads like the C library's atof, decimal only: leading white
// space, then the longest decimal number with optional sign, fraction and
// exponent; 0 when there is none. atof's hexadecimal, infinity and NaN forms
// are not numbers here ("0x10" reads as 0, "inf" and "nan" as 0).
double text_to_number(const Text& text);

// Folds, then reads like atol: white space, optional sign, decimal digits.
// Digits accumulate modulo 2^32 without a range check ("4294967296" is 0).
std::int32_t text_to_integer(const Text& text);

// printf's "%.13g".
Text number_to_text(double number);

// The integer part of `number` cut toward zero, formed as a 64-bit integer of
// which only the low 32 bits count; NaN and numbers beyond the 64-bit range
// give 0.
std::int32_t page_from_number(double number);

// The page box's text after 下一页: its number plus one.
Text next_page_text(const Text& page_box);

// The page box's text after 上一页: its number minus one; nothing when that
// would not stay above 0.0000001 (the command then does nothing).
std::optional<Text> previous_page_text(const Text& page_box);
