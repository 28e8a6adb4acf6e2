#pragma once
// Pattern text (VBScript/JScript syntax, UTF-16) to a matcher program.
#include <string_view>

#include "regex/regex_program.h"

// Groups may nest this deep; deeper patterns are refused, so neither the
// parser nor the compiler can run out of native stack.
constexpr int kMaxPatternNesting = 200;

// False when the pattern is not valid; `out` is then unspecified.
bool compile_regex(std::u16string_view pattern, bool ignore_case, bool multiline, RegexProgram& out);
