#pragma once
// The regular-expression engine: VBScript/JScript syntax over UTF-16 code
// units, compiled to bytecode and run by a backtracking matcher that keeps its
// backtrack stack on the heap, so no input length can overflow the native stack.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "regex/regex_program.h"

struct RegexOptions {
  bool ignore_case = false;
  bool multiline = false;
  bool global = false;
};

// One match: where it starts (in code units) and its groups' extents.
struct RegexMatch {
  // slots[2k], slots[2k+1]: start and end of group k (0: the whole match);
  // -1 for a group that took no part.
  std::vector<std::int32_t> slots;

  std::int32_t index() const { return slots[0]; }
  std::int32_t length() const { return slots[1] - slots[0]; }
  bool group_matched(int group) const { return slots[2 * group] >= 0; }
};

class CompiledRegex {
public:
  // Matcher steps one execute may take before it gives up: every instruction
  // run and every code unit scanned or compared counts one. Bounds the time a
  // hostile pattern or text can take (under a second), far above what the
  // program's patterns need for a whole result page (about the page's length).
  static constexpr std::int64_t kStepBudget = 100'000'000;

  // Null when the pattern is not valid.
  static std::shared_ptr<const CompiledRegex> compile(std::u16string_view pattern, const RegexOptions& options);

  const RegexOptions& options() const { return options_; }
  int group_count() const { return program_.group_count; }

  // Every match from left to right (only the first unless global), each
  // search starting where the previous match ended, one further after an
  // empty match. A search that exceeds the step budget ends the list there.
  std::vector<RegexMatch> execute(std::u16string_view text, std::int64_t step_budget = kStepBudget) const;

  // `text` with its matches replaced: $1..$99, $&, $`, $', $$ in `replacement`.
  std::u16string replace(std::u16string_view text, std::u16string_view replacement) const;

private:
  RegexOptions options_;
  RegexProgram program_;
};
