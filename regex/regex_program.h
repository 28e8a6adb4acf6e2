#pragma once
// A compiled pattern: flat bytecode for the backtracking matcher.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A character class: ranges of UTF-16 code units, possibly negated.
struct CharClass {
  std::vector<std::pair<char16_t, char16_t>> ranges;
  bool negated = false;
  bool in_ranges(char16_t c) const;  // before negation
  bool contains(char16_t c) const;
};

enum class Op : std::uint8_t {
  Char,          // a: code unit (already folded when ignoring case)
  Literal,       // a: index into literals (folded when ignoring case)
  Any,           // any code unit but a line feed
  Class,         // a: class index
  Run,           // a: atom pc, b: min, c: max (-1: unbounded), d: greedy; next pc is the continuation
  Split,         // try a first, then b
  Jump,          // a: target
  Save,          // a: capture slot (2 * group, 2 * group + 1)
  LineStart,     // ^
  LineEnd,       // $
  WordBoundary,  // \b
  NotWordBoundary,
  BackRef,       // a: group
  RepeatStart,   // a: loop register
  RepeatCheck,   // a: loop register, b: min, c: max (-1: unbounded), d: greedy, e: exit pc,
                 // f/g: first and last+1 capture group inside the loop
  RepeatEnd,     // a: loop register, b: pc of the RepeatCheck
  LookAhead,     // a: pc after the sub-program, b: negative, c: look-ahead register
  LookEnd,       // the sub-program of a look-ahead has matched; a: look-ahead register
  Match,
};

struct Inst {
  Op op;
  std::int32_t a = 0, b = 0, c = 0, d = 0, e = 0, f = 0, g = 0;
};

struct RegexProgram {
  std::vector<Inst> code;
  std::vector<CharClass> classes;
  std::vector<std::u16string> literals;
  int group_count = 0;  // capture groups, not counting the whole match
  int loop_count = 0;   // loop registers
  int look_count = 0;   // look-ahead registers
  bool ignore_case = false;
  bool multiline = false;
  // A literal every match starts with (folded when ignoring case), for a fast
  // search of the places worth trying.
  std::u16string required_prefix;
  // The pattern starts with ^ (not multiline): only position 0 can match.
  bool anchored_start = false;
};
