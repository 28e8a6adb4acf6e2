#pragma once
// The regular-expression engine: VBScript/JScript syntax over UTF-16 code
// units, compiled to bytecode and run by a backtracking matcher that keeps its
// backtrack stack on the heap, so no input length can overflow the native stack.
//
// Bounds of one execute, whatever the pattern and the text:
// - time: a step budget (kStepBudget). Every instruction run, every code unit
//   scanned or compared (by the search for the literal a match starts with
//   too), every backtrack frame pushed, every capture group a loop clears and
//   every slot copied into a match counts one step; a step costs a few
//   nanoseconds, so an execute ends within about a second.
// - memory: the backtrack frames and the collected matches together hold at
//   most kMemoryBudget bytes (128 MB), in blocks that never move.
// - one line cannot spend the budget of the whole text: the attempts that
//   start on one line (up to a line feed) may take kLineSteps steps plus
//   kLineStepsPerUnit per code unit of that line (what is left of the line
//   after a match gets a share afresh); past that, no match starts on that
//   line and the search goes on at the next one.
// A greedy run (.*, \d{1,9}, [^<]*) remembers where it ended and where what
// must follow it occurs, so runs starting at many places on one line cost
// that line's length once, not once per place.
// When the step or memory budget runs out the matches found so far are kept
// and no further match is collected; complete() on the result tells.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "regex/regex_matches.h"
#include "regex/regex_program.h"

struct RegexOptions {
  bool ignore_case = false;
  bool multiline = false;
  bool global = false;
};

class CompiledRegex {
public:
  // Steps one execute may take before it gives up: far above what the
  // program's patterns need for a whole result page (a few per code unit).
  static constexpr std::int64_t kStepBudget = 100'000'000;
  // Bytes the backtrack frames and the matches of one execute may hold
  // together. Writing fresh memory costs time too (about 3 ms a megabyte on a
  // slow virtual machine), so filling the budget stays within the second.
  static constexpr size_t kMemoryBudget = size_t{128} << 20;
  // What the attempts starting on one line may spend: kLineSteps plus
  // kLineStepsPerUnit per code unit of the line.
  static constexpr std::int64_t kLineSteps = 1'000'000;
  static constexpr std::int64_t kLineStepsPerUnit = 64;

  // Null when the pattern is not valid.
  static std::shared_ptr<const CompiledRegex> compile(std::u16string_view pattern, const RegexOptions& options);

  const RegexOptions& options() const { return options_; }
  int group_count() const { return program_.group_count; }
  const RegexProgram& program() const { return program_; }
  // The compiled program as text (see dump_program).
  std::string dump() const { return dump_program(program_); }

  // Every match from left to right (only the first unless global), each
  // search starting where the previous match ended, one further after an
  // empty match. Bounded as the header says; `step_budget` and
  // `memory_budget` replace the defaults (tests use small ones).
  RegexMatches execute(std::u16string_view text, std::int64_t step_budget = kStepBudget,
                       size_t memory_budget = kMemoryBudget) const;

  // `text` with its matches replaced: $1..$99, $&, $`, $', $$ in `replacement`.
  std::u16string replace(std::u16string_view text, std::u16string_view replacement) const;

private:
  RegexOptions options_;
  RegexProgram program_;
};
