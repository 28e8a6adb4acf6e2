// The backtracking matcher. Every choice point, look-ahead included, is a
// frame on a heap stack: matching never recurses natively, so no text or
// pattern can overflow the native stack. Time, memory and the share of one
// line are bounded as regex_engine.h says.
#include <algorithm>
#include <cstdint>

#include "regex/block_stack.h"
#include "regex/case_folding.h"
#include "regex/literal_search.h"
#include "regex/regex_compiler.h"
#include "regex/regex_engine.h"

namespace {

// What a frame says, and what its three values a, b, c hold.
enum class FrameKind : std::uint8_t {
  Branch,       // resume at pc a, position b
  EnterLoop,    // resume at position b by entering the body of the loop whose RepeatCheck is at a
  RestoreSlot,  // slots[a] = b
  RestoreLoop,  // counters[a] = b, loop_start[a] = c
  RunGreedy,    // give back: resume at pc a (the Run's pc + 1) at the next place below b, not below c
  RunLazy,      // take one more unit: resume at pc a (the Run's pc + 1) at b + 1, not beyond c
  LookFail,     // a look-ahead's sub-program found no match: resume at pc a, position b if c (negative)
};

// Sixteen bytes: frames are most of what a search holds.
struct Frame {
  FrameKind kind;
  std::int32_t a;
  std::int32_t b;
  std::int32_t c;
};

bool is_restore(FrameKind kind) { return kind == FrameKind::RestoreSlot || kind == FrameKind::RestoreLoop; }

bool is_word(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}

bool is_line_break(char16_t c) { return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029; }

// What one Run learnt about the text, valid for the whole execute: the text
// does not change, so the same question never needs scanning twice.
struct RunMemo {
  // From every start in [from, end] the run's atom matches up to `end`.
  std::int32_t from = -1;
  std::int32_t end = -1;
  // The last place in [follow_from, follow_limit] where the follow occurs
  // (-1: nowhere there).
  std::int32_t follow_from = -1;
  std::int32_t follow_limit = -1;
  std::int32_t follow_last = -1;
};

// Why the matcher stopped before trying every way.
enum class Stop { None, Line, Budget };

class Matcher {
public:
  Matcher(const RegexProgram& program, std::u16string_view text, std::int64_t step_budget, size_t memory_budget,
          RegexMatches& out)
      : p_(program),
        text_(text),
        n_(static_cast<std::int32_t>(text.size())),
        steps_left_(step_budget),
        memory_budget_(memory_budget),
        out_(out),
        prefix_(program.required_prefix, program.ignore_case) {
    slots_.assign(2 * (p_.group_count + 1), -1);
    counters_.assign(p_.loop_count, 0);
    loop_start_.assign(p_.loop_count, -1);
    look_frame_.assign(p_.look_count, 0);
    memos_.resize(p_.run_count);
  }

  // Appends the first match starting at or after `from` to the matches; false
  // when there is none or a budget ran out (then complete() is false).
  bool search(std::int32_t from) {
    bool first_attempt = true;
    for (std::int32_t pos = from; pos <= n_; ++pos) {
      if (!prefix_.empty()) {
        pos = prefix_.find(text_, pos, steps_left_);
        if (pos == -2) stop_ = Stop::Budget;
        if (pos < 0) return false;
      }
      if (p_.anchored_start && pos != 0) return false;
      // Each line, and what is left of one after a match, gets its share.
      if (pos > line_end_) {
        line_end_ = line_end(pos);
        set_line_share(pos);
      } else if (first_attempt) {
        set_line_share(pos);
      }
      first_attempt = false;
      if (run(pos)) {
        const bool kept = keep_match();
        unwind();
        // A match found starts the line's share afresh, even if copying it spent the last of it.
        if (stop_ == Stop::Line) stop_ = Stop::None;
        return kept;
      }
      if (stop_ == Stop::Budget) return false;
      unwind();
      if (stop_ == Stop::Line) {
        // This line has had its share: no match starts on it.
        stop_ = Stop::None;
        skipped_line_ = true;
        pos = line_end_;
      }
    }
    return false;
  }

  // Whether every way was tried: no budget ran out and no line was skipped.
  bool complete() const { return stop_ == Stop::None && !skipped_line_; }

private:
  // The attempts from `pos` to the line's end may spend this much.
  void set_line_share(std::int32_t pos) {
    const std::int64_t allowance =
        CompiledRegex::kLineSteps + CompiledRegex::kLineStepsPerUnit * (std::int64_t{line_end_} - pos + 1);
    line_floor_ = std::max<std::int64_t>(0, steps_left_ - allowance);
  }

  char16_t canon(char16_t c) const { return p_.ignore_case ? fold_case(c) : c; }

  // The first line feed at or after `pos`, or the text's end.
  std::int32_t line_end(std::int32_t pos) const {
    std::int64_t unlimited = INT64_MAX;  // one unit compared: nothing to count
    const std::int32_t feed = line_feed_.find(text_, pos, unlimited);
    return feed < 0 ? n_ : feed;
  }

  // Ignoring case, a class holds both cases of its letters already.
  bool class_has(int index, char16_t c) const { return p_.classes[index].contains(c); }

  bool atom_matches(const RunOperands& run, char16_t c) const {
    switch (static_cast<Op>(run.atom)) {
      case Op::Char: return canon(c) == run.unit;
      case Op::Any: return c != u'\n';
      default: return class_has(run.cls, c);
    }
  }

  // Whether the run's follow occurs at `at`; charges the units compared.
  bool follow_at(const Follow& follow, std::int32_t at) {
    std::int32_t k = 0;
    const auto size = static_cast<std::int32_t>(follow.size());
    for (; k < size && at + k < n_; ++k) {
      const FollowItem& item = follow[k];
      const char16_t c = text_[at + k];
      const bool ok = item.kind == Op::Char ? canon(c) == item.unit
                      : item.kind == Op::Any ? c != u'\n'
                                             : class_has(item.cls, c);
      if (!ok) break;
    }
    charge(k + 1);
    return k == size;
  }

  // The last place in [least, limit] where the follow occurs, or -1.
  std::int32_t last_follow(const Follow& follow, std::int32_t least, std::int32_t limit) {
    const FollowItem& head = follow.front();
    for (std::int32_t at = limit; at >= least; --at) {
      if (head.kind == Op::Char) {
        // Straight to the next place its first unit is at.
        const std::int32_t from = at;
        while (at >= least && (at >= n_ || canon(text_[at]) != head.unit)) --at;
        if (!charge(from - at) || at < least) return -1;
      }
      if (follow_at(follow, at)) return at;
      if (stop_ != Stop::None) return -1;
    }
    return -1;
  }

  // Charges `steps`; false once the budget (or the line's share) is spent.
  bool charge(std::int64_t steps) {
    steps_left_ -= steps;
    if (steps_left_ < line_floor_ && stop_ == Stop::None) stop_ = steps_left_ < 0 ? Stop::Budget : Stop::Line;
    return stop_ == Stop::None;
  }

  bool push(const Frame& frame) {
    charge(1);
    const size_t matches = out_.held_bytes();
    if (matches >= memory_budget_ || !stack_.push_back(frame, memory_budget_ - matches)) {
      stop_ = Stop::Budget;
      return false;
    }
    return stop_ == Stop::None;
  }

  // Copies the current match into the matches.
  bool keep_match() {
    charge(static_cast<std::int64_t>(slots_.size()));
    const size_t frames = stack_.held_bytes();
    if (frames >= memory_budget_ || !out_.add(slots_.data(), memory_budget_ - frames)) {
      stop_ = Stop::Budget;
      return false;
    }
    return true;
  }

  void set_slot(int slot, std::int32_t value) {
    push({FrameKind::RestoreSlot, slot, slots_[slot], 0});
    slots_[slot] = value;
  }

  void save_loop(int reg) { push({FrameKind::RestoreLoop, reg, counters_[reg], loop_start_[reg]}); }

  // Pops every frame, undoing what it recorded: the registers are as before the attempt.
  void unwind() {
    while (!stack_.empty()) {
      const Frame& f = stack_.back();
      if (f.kind == FrameKind::RestoreSlot) slots_[f.a] = f.b;
      if (f.kind == FrameKind::RestoreLoop) counters_[f.a] = f.b, loop_start_[f.a] = f.c;
      stack_.pop_back();
    }
  }

  // Enters one more pass of a loop's body.
  void enter_loop(const RepeatCheckOperands& check, std::int32_t check_pc, std::int32_t pos, std::int32_t& pc) {
    save_loop(check.loop);
    loop_start_[check.loop] = pos;
    // Each pass starts with the groups inside the loop unset.
    charge(check.end_group - check.first_group);
    for (int g = check.first_group; g < check.end_group; ++g) {
      if (slots_[2 * g] >= 0 || slots_[2 * g + 1] >= 0) {
        set_slot(2 * g, -1);
        set_slot(2 * g + 1, -1);
      }
    }
    pc = check_pc + 1;
  }

  // A greedy run from `pos`: where its atom stops matching, from the memo when
  // an earlier run from a place before this one already went past it.
  std::int32_t run_end(const RunOperands& run, std::int32_t pos) {
    RunMemo& memo = memos_[run.memo];
    if (memo.from >= 0 && pos >= memo.from && pos <= memo.end) return memo.end;
    std::int32_t e = pos;
    if (static_cast<Op>(run.atom) == Op::Any) {
      e = line_end(pos);
    } else {
      while (e < n_ && atom_matches(run, text_[e])) ++e;
    }
    charge(e - pos);
    memo.from = pos;
    memo.end = e;
    return e;
  }

  // Where a greedy run with a follow ends first: the last place in
  // [least, limit] where the follow occurs. Once known for a limit, a later
  // start with the same limit reads it from the memo: work on one line does
  // not grow with the number of places the run starts from.
  std::int32_t first_follow(const RunOperands& run, std::int32_t least, std::int32_t limit) {
    RunMemo& memo = memos_[run.memo];
    if (memo.follow_limit == limit && memo.follow_from >= 0 && least >= memo.follow_from) {
      return memo.follow_last >= least ? memo.follow_last : -1;
    }
    const std::int32_t last = last_follow(p_.follows[run.follow], least, limit);
    if (stop_ == Stop::None) memo = {memo.from, memo.end, least, limit, last};
    return last;
  }

  // Pops frames until one says where to go on; false when none is left.
  bool backtrack(std::int32_t& pc, std::int32_t& pos) {
    while (!stack_.empty() && stop_ == Stop::None) {
      Frame& f = stack_.back();
      switch (f.kind) {
        case FrameKind::Branch:
          pc = f.a;
          pos = f.b;
          stack_.pop_back();
          return true;
        case FrameKind::EnterLoop: {
          const std::int32_t check_pc = f.a;
          pos = f.b;
          stack_.pop_back();
          enter_loop(p_.code[check_pc].repeat_check(), check_pc, pos, pc);
          return true;
        }
        case FrameKind::RestoreSlot:
          slots_[f.a] = f.b;
          stack_.pop_back();
          break;
        case FrameKind::RestoreLoop:
          counters_[f.a] = f.b;
          loop_start_[f.a] = f.c;
          stack_.pop_back();
          break;
        case FrameKind::LookFail: {
          const bool negative = f.c != 0;
          pc = f.a;
          pos = f.b;
          stack_.pop_back();
          // A negative look-ahead holds where its sub-program fails.
          if (negative) return true;
          break;
        }
        case FrameKind::RunGreedy: {
          const RunOperands& run = p_.code[f.a - 1].run();
          std::int32_t next = f.b - 1;
          // Only places where the follow occurs are worth going back to.
          if (run.follow >= 0) next = last_follow(p_.follows[run.follow], f.c, next);
          if (next < f.c || stop_ != Stop::None) {
            stack_.pop_back();
            break;
          }
          pc = f.a;
          pos = next;
          if (next == f.c) {
            stack_.pop_back();
          } else {
            f.b = next;
          }
          return true;
        }
        case FrameKind::RunLazy: {
          const RunOperands& run = p_.code[f.a - 1].run();
          if (f.b >= f.c || !atom_matches(run, text_[f.b])) {
            stack_.pop_back();
            break;
          }
          pc = f.a;
          pos = ++f.b;
          if (f.b >= f.c) stack_.pop_back();
          return true;
        }
      }
    }
    return false;
  }

  // Runs the program from `pos` until a Match; false when every way has
  // failed (or a budget ran out: stop_ says).
  bool run(std::int32_t pos) {
    std::int32_t pc = 0;
    for (;;) {
      if (!charge(1)) return false;
      const Inst& in = p_.code[pc];
      bool ok = true;
      switch (in.op) {
        case Op::Char:
          ok = pos < n_ && canon(text_[pos]) == in.ch().unit;
          if (ok) ++pos, ++pc;
          break;
        case Op::Literal: {
          const std::u16string& literal = p_.literals[in.literal().index];
          const auto len = static_cast<std::int32_t>(literal.size());
          std::int32_t k = 0;
          if (pos + std::int64_t{len} <= n_) {
            while (k < len && canon(text_[pos + k]) == literal[k]) ++k;
          }
          charge(k);
          ok = k == len && pos + std::int64_t{len} <= n_;
          if (ok) pos += len, ++pc;
          break;
        }
        case Op::Any:
          ok = pos < n_ && text_[pos] != u'\n';
          if (ok) ++pos, ++pc;
          break;
        case Op::Class:
          ok = pos < n_ && class_has(in.cls().index, text_[pos]);
          if (ok) ++pos, ++pc;
          break;
        case Op::Run:
          ok = run_atom(in.run(), pc, pos);
          break;
        case Op::Split:
          ok = push({FrameKind::Branch, in.split().second, pos, 0});
          pc = in.split().first;
          break;
        case Op::Jump:
          pc = in.jump().target;
          break;
        case Op::Save:
          set_slot(in.save().slot, pos);
          ++pc;
          break;
        case Op::LineStart:
          ok = pos == 0 || (p_.multiline && is_line_break(text_[pos - 1]));
          ++pc;
          break;
        case Op::LineEnd:
          ok = pos == n_ || (p_.multiline && is_line_break(text_[pos]));
          ++pc;
          break;
        case Op::WordBoundary:
        case Op::NotWordBoundary: {
          const bool before = pos > 0 && is_word(text_[pos - 1]);
          const bool after = pos < n_ && is_word(text_[pos]);
          ok = (before != after) == (in.op == Op::WordBoundary);
          ++pc;
          break;
        }
        case Op::BackRef: {
          const int group = in.back_ref().group;
          const std::int32_t s = slots_[2 * group], e = slots_[2 * group + 1];
          // A group that took no part matches the empty text.
          if (s >= 0 && e >= s) {
            const std::int32_t len = e - s;
            std::int32_t k = 0;
            if (pos + std::int64_t{len} <= n_) {
              while (k < len && canon(text_[s + k]) == canon(text_[pos + k])) ++k;
            }
            ok = charge(k) && k == len && pos + std::int64_t{len} <= n_;
            if (ok) pos += len;
          }
          ++pc;
          break;
        }
        case Op::RepeatStart: {
          const int loop = in.repeat_start().loop;
          save_loop(loop);
          counters_[loop] = 0;
          loop_start_[loop] = -1;
          ++pc;
          break;
        }
        case Op::RepeatCheck: {
          const RepeatCheckOperands& check = in.repeat_check();
          const int count = counters_[check.loop];
          if (count < check.min) {
            enter_loop(check, pc, pos, pc);
          } else if (check.max >= 0 && count >= check.max) {
            pc = check.exit;
          } else if (check.greedy) {
            ok = push({FrameKind::Branch, check.exit, pos, 0});
            if (ok) enter_loop(check, pc, pos, pc);
          } else {
            ok = push({FrameKind::EnterLoop, pc, pos, 0});
            pc = check.exit;
          }
          break;
        }
        case Op::RepeatEnd: {
          const RepeatEndOperands& end = in.repeat_end();
          // A pass that matched nothing once the minimum is met ends the loop's progress.
          if (counters_[end.loop] >= p_.code[end.check].repeat_check().min && pos == loop_start_[end.loop]) {
            ok = false;
            break;
          }
          save_loop(end.loop);
          ++counters_[end.loop];
          pc = end.check;
          break;
        }
        case Op::LookAhead: {
          const LookAheadOperands& look = in.look_ahead();
          look_frame_[look.look] = stack_.size();
          ok = push({FrameKind::LookFail, look.next, pos, look.negative ? 1 : 0});
          ++pc;
          break;
        }
        case Op::LookEnd: {
          // The sub-program matched: its own choices are never returned to.
          const size_t base = look_frame_[in.look_end().look];
          const Frame look = stack_[base];
          charge(static_cast<std::int64_t>(stack_.size() - base));
          if (look.c != 0) {
            // Negative: the look-ahead fails, and what its sub-program captured is undone.
            while (stack_.size() > base) {
              const Frame& f = stack_.back();
              if (f.kind == FrameKind::RestoreSlot) slots_[f.a] = f.b;
              if (f.kind == FrameKind::RestoreLoop) counters_[f.a] = f.b, loop_start_[f.a] = f.c;
              stack_.pop_back();
            }
            ok = false;
          } else {
            // Positive: its captures stay, and their restore frames with them,
            // for when matching backs out past the look-ahead.
            size_t keep = base;
            for (size_t k = base + 1; k < stack_.size(); ++k) {
              if (is_restore(stack_[k].kind)) stack_[keep++] = stack_[k];
            }
            stack_.shrink_to(keep);
            pc = look.a;
            pos = look.b;
          }
          break;
        }
        case Op::Match:
          return true;
      }
      if (stop_ != Stop::None) return false;
      if (!ok && !backtrack(pc, pos)) return false;
    }
  }

  // One Run instruction at `pc`; false when it cannot match here.
  bool run_atom(const RunOperands& run, std::int32_t& pc, std::int32_t& pos) {
    const std::int64_t least64 = std::int64_t{pos} + run.min;
    if (!run.greedy) {
      const std::int64_t limit64 = run.max < 0 ? n_ : std::min<std::int64_t>(n_, std::int64_t{pos} + run.max);
      if (least64 > limit64) return false;
      const auto least = static_cast<std::int32_t>(least64);
      std::int32_t e = pos;
      while (e < least && atom_matches(run, text_[e])) ++e;
      if (!charge(e - pos) || e < least) return false;
      if (e < limit64 && !push({FrameKind::RunLazy, pc + 1, e, static_cast<std::int32_t>(limit64)})) {
        return false;
      }
      pos = e, ++pc;
      return true;
    }
    const std::int32_t end = run_end(run, pos);
    const std::int32_t limit =
        run.max < 0 ? end : static_cast<std::int32_t>(std::min<std::int64_t>(end, std::int64_t{pos} + run.max));
    if (least64 > limit) return false;
    const auto least = static_cast<std::int32_t>(least64);
    std::int32_t first = limit;
    if (run.follow >= 0) {
      first = first_follow(run, least, limit);
      if (first < 0) return false;
    }
    if (first > least && !push({FrameKind::RunGreedy, pc + 1, first, least})) return false;
    pos = first, ++pc;
    return true;
  }

  const RegexProgram& p_;
  std::u16string_view text_;
  std::int32_t n_;
  std::int64_t steps_left_;
  std::int64_t line_floor_ = 0;     // steps_left_ below this: the current line has had its share
  std::int32_t line_end_ = -1;      // where the line of the current attempts ends
  size_t memory_budget_;
  RegexMatches& out_;
  Stop stop_ = Stop::None;
  bool skipped_line_ = false;
  LiteralSearch prefix_;
  LiteralSearch line_feed_{u"\n", false};
  std::vector<std::int32_t> slots_;
  std::vector<int> counters_;
  std::vector<std::int32_t> loop_start_;
  std::vector<size_t> look_frame_;  // per look-ahead: the stack index of its LookFail frame
  std::vector<RunMemo> memos_;
  BlockStack<Frame> stack_;
};

}  // namespace

std::shared_ptr<const CompiledRegex> CompiledRegex::compile(std::u16string_view pattern, const RegexOptions& options) {
  auto compiled = std::make_shared<CompiledRegex>();
  compiled->options_ = options;
  if (!compile_regex(pattern, options.ignore_case, options.multiline, compiled->program_)) return nullptr;
  return compiled;
}

RegexMatches CompiledRegex::execute(std::u16string_view text, std::int64_t step_budget, size_t memory_budget) const {
  RegexMatches matches(program_.group_count);
  // Positions are 32-bit: a longer text is searched no further than that.
  if (text.size() > static_cast<size_t>(INT32_MAX - 1)) {
    text = text.substr(0, INT32_MAX - 1);
    matches.complete_ = false;
  }
  Matcher matcher(program_, text, step_budget, memory_budget, matches);
  std::int32_t from = 0;
  const auto n = static_cast<std::int32_t>(text.size());
  while (from <= n) {
    if (!matcher.search(from)) break;
    if (!options_.global) break;
    const RegexMatch last = matches.back();
    from = last.slots[1] == last.slots[0] ? last.slots[1] + 1 : last.slots[1];
  }
  if (!matcher.complete()) matches.complete_ = false;
  return matches;
}
