// The backtracking matcher. Every choice point, look-ahead included, is a
// frame on a heap stack: matching never recurses natively, so no text or
// pattern can overflow the native stack. Time is bounded by a step budget
// in which every code unit looked at counts.
#include <algorithm>
#include <cstdint>

#include "regex/case_folding.h"
#include "regex/literal_search.h"
#include "regex/regex_compiler.h"
#include "regex/regex_engine.h"

bool CharClass::in_ranges(char16_t c) const {
  for (const auto& r : ranges) {
    if (c >= r.first && c <= r.second) return true;
  }
  return false;
}

bool CharClass::contains(char16_t c) const { return in_ranges(c) != negated; }

namespace {

enum class FrameKind : std::uint8_t {
  Branch,          // resume at pc, pos
  EnterLoop,       // resume by entering the body of the loop whose RepeatCheck is at pc
  RestoreSlot,     // slots[a] = b
  RestoreLoop,     // counters[a] = b, loop_start[a] = c
  RunGreedy,       // give back one character: resume at pc with pos - 1, not below a
  RunLazy,         // take one more character: resume at pc with pos + 1, not beyond a; b: the Run's pc
  LookFail,        // a look-ahead's sub-program found no match: a: negative, so resume at pc, pos
};

struct Frame {
  FrameKind kind;
  std::int32_t pc;
  std::int32_t pos;
  std::int32_t a;
  std::int32_t b;
  std::int32_t c;
};

// Frames one search may hold (24 bytes each); past this the search gives up
// as on the step budget.
constexpr size_t kMaxFrames = size_t{1} << 23;

bool is_restore(FrameKind kind) { return kind == FrameKind::RestoreSlot || kind == FrameKind::RestoreLoop; }

bool is_word(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}

bool is_line_break(char16_t c) { return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029; }

class Matcher {
public:
  Matcher(const RegexProgram& program, std::u16string_view text, std::int64_t& steps_left)
      : p_(program),
        text_(text),
        n_(static_cast<std::int32_t>(text.size())),
        steps_left_(steps_left),
        prefix_(program.required_prefix, program.ignore_case) {
    slots_.assign(2 * (p_.group_count + 1), -1);
    counters_.assign(p_.loop_count, 0);
    loop_start_.assign(p_.loop_count, -1);
    look_frame_.assign(p_.look_count, 0);
  }

  // The first match starting at or after `from`.
  bool search(std::int32_t from, RegexMatch& out) {
    for (std::int32_t pos = from; pos <= n_; ++pos) {
      if (!prefix_.empty()) {
        pos = prefix_.find(text_, pos);
        if (pos < 0) return false;
      }
      if (p_.anchored_start && pos != 0) return false;
      std::fill(slots_.begin(), slots_.end(), -1);
      stack_.clear();
      if (run(pos)) {
        out.slots = slots_;
        return true;
      }
      if (exhausted_) return false;
    }
    return false;
  }

private:
  char16_t canon(char16_t c) const { return p_.ignore_case ? fold_case(c) : c; }

  bool class_has(int index, char16_t c) const {
    const CharClass& cls = p_.classes[index];
    if (!p_.ignore_case) return cls.contains(c);
    // Either case of the unit in the ranges will do; negation applies after that.
    const char16_t upper = fold_case(c);
    const bool in = cls.in_ranges(c) || cls.in_ranges(upper) || cls.in_ranges(unfold_case(upper));
    return in != cls.negated;
  }

  bool atom_matches(int op, int arg, char16_t c) const {
    switch (static_cast<Op>(op)) {
      case Op::Char: return canon(c) == static_cast<char16_t>(arg);
      case Op::Any: return c != u'\n';
      default: return class_has(arg, c);
    }
  }

  // Charges `units` code units looked at; false once the budget is spent.
  bool charge(std::int64_t units) {
    steps_left_ -= units;
    if (steps_left_ < 0) exhausted_ = true;
    return !exhausted_;
  }

  bool push(const Frame& frame) {
    if (stack_.size() >= kMaxFrames) {
      exhausted_ = true;
      return false;
    }
    stack_.push_back(frame);
    return true;
  }

  void set_slot(int slot, std::int32_t value) {
    push({FrameKind::RestoreSlot, 0, 0, slot, slots_[slot], 0});
    slots_[slot] = value;
  }

  void save_loop(int reg) { push({FrameKind::RestoreLoop, 0, 0, reg, counters_[reg], loop_start_[reg]}); }

  // Enters one more pass of a loop's body.
  void enter_loop(const Inst& check, std::int32_t check_pc, std::int32_t pos, std::int32_t& pc) {
    save_loop(check.a);
    loop_start_[check.a] = pos;
    // Each pass starts with the groups inside the loop unset.
    for (int g = check.f; g < check.g; ++g) {
      if (slots_[2 * g] >= 0 || slots_[2 * g + 1] >= 0) {
        set_slot(2 * g, -1);
        set_slot(2 * g + 1, -1);
      }
    }
    pc = check_pc + 1;
  }

  // The next instruction after `pc` that looks at the text, past any Saves.
  const Inst& next_consumer(std::int32_t pc) const {
    while (p_.code[pc].op == Op::Save) ++pc;
    return p_.code[pc];
  }

  // Pops frames until one says where to go on; false when none is left.
  bool backtrack(std::int32_t& pc, std::int32_t& pos) {
    while (!stack_.empty() && !exhausted_) {
      Frame& f = stack_.back();
      switch (f.kind) {
        case FrameKind::Branch:
          pc = f.pc;
          pos = f.pos;
          stack_.pop_back();
          return true;
        case FrameKind::EnterLoop: {
          const std::int32_t check_pc = f.pc;
          pos = f.pos;
          stack_.pop_back();
          enter_loop(p_.code[check_pc], check_pc, pos, pc);
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
          const bool negative = f.a != 0;
          pc = f.pc;
          pos = f.pos;
          stack_.pop_back();
          // A negative look-ahead holds where its sub-program fails.
          if (negative) return true;
          break;
        }
        case FrameKind::RunGreedy: {
          std::int32_t next = f.pos - 1;
          // Skip places where the literal that follows cannot match.
          const Inst& after = next_consumer(f.pc);
          if (after.op == Op::Char || after.op == Op::Literal) {
            const char16_t want = after.op == Op::Char ? static_cast<char16_t>(after.a) : p_.literals[after.a][0];
            while (next >= f.a && (next >= n_ || canon(text_[next]) != want)) --next;
            if (!charge(f.pos - next)) return false;
          }
          if (next < f.a) {
            stack_.pop_back();
            break;
          }
          pc = f.pc;
          pos = next;
          if (next == f.a) {
            stack_.pop_back();
          } else {
            f.pos = next;
          }
          return true;
        }
        case FrameKind::RunLazy: {
          const Inst& run = p_.code[f.b];
          if (f.pos >= f.a || !atom_matches(run.a, run.f, text_[f.pos])) {
            stack_.pop_back();
            break;
          }
          pc = f.pc;
          pos = ++f.pos;
          if (f.pos >= f.a) stack_.pop_back();
          return true;
        }
      }
    }
    return false;
  }

  // Runs the program from `pos` until a Match; false when every way has
  // failed (or the budget ran out).
  bool run(std::int32_t pos) {
    std::int32_t pc = 0;
    for (;;) {
      if (!charge(1)) return false;
      const Inst& in = p_.code[pc];
      bool ok = true;
      switch (in.op) {
        case Op::Char:
          ok = pos < n_ && canon(text_[pos]) == static_cast<char16_t>(in.a);
          if (ok) ++pos, ++pc;
          break;
        case Op::Literal: {
          const std::u16string& literal = p_.literals[in.a];
          const auto len = static_cast<std::int32_t>(literal.size());
          ok = pos + len <= n_;
          for (std::int32_t k = 0; ok && k < len; ++k) ok = canon(text_[pos + k]) == literal[k];
          if (ok) pos += len, ++pc;
          break;
        }
        case Op::Any:
          ok = pos < n_ && text_[pos] != u'\n';
          if (ok) ++pos, ++pc;
          break;
        case Op::Class:
          ok = pos < n_ && class_has(in.a, text_[pos]);
          if (ok) ++pos, ++pc;
          break;
        case Op::Run: {
          const std::int64_t limit64 = in.c < 0 ? n_ : std::min<std::int64_t>(n_, std::int64_t{pos} + in.c);
          const std::int32_t limit = static_cast<std::int32_t>(limit64);
          const std::int64_t least64 = std::int64_t{pos} + in.b;
          if (least64 > limit) {
            ok = false;
            break;
          }
          const std::int32_t least = static_cast<std::int32_t>(least64);
          std::int32_t e = pos;
          if (in.d) {
            if (static_cast<Op>(in.a) == Op::Any) {
              while (e < limit && text_[e] != u'\n') ++e;
            } else {
              while (e < limit && atom_matches(in.a, in.f, text_[e])) ++e;
            }
            ok = charge(e - pos) && e >= least;
            if (ok && e > least) ok = push({FrameKind::RunGreedy, pc + 1, e, least, 0, 0});
          } else {
            while (e < least && atom_matches(in.a, in.f, text_[e])) ++e;
            ok = charge(e - pos) && e >= least;
            if (ok && e < limit) ok = push({FrameKind::RunLazy, pc + 1, e, limit, pc, 0});
          }
          if (ok) pos = e, ++pc;
          break;
        }
        case Op::Split:
          ok = push({FrameKind::Branch, in.b, pos, 0, 0, 0});
          pc = in.a;
          break;
        case Op::Jump:
          pc = in.a;
          break;
        case Op::Save:
          set_slot(in.a, pos);
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
          const std::int32_t s = slots_[2 * in.a], e = slots_[2 * in.a + 1];
          // A group that took no part matches the empty text.
          if (s >= 0 && e >= s) {
            const std::int32_t len = e - s;
            std::int32_t k = 0;
            if (pos + len <= n_) {
              while (k < len && canon(text_[s + k]) == canon(text_[pos + k])) ++k;
            }
            ok = charge(k) && k == len && pos + len <= n_;
            if (ok) pos += len;
          }
          ++pc;
          break;
        }
        case Op::RepeatStart:
          save_loop(in.a);
          counters_[in.a] = 0;
          loop_start_[in.a] = -1;
          ++pc;
          break;
        case Op::RepeatCheck: {
          const int count = counters_[in.a];
          if (count < in.b) {
            enter_loop(in, pc, pos, pc);
          } else if (in.c >= 0 && count >= in.c) {
            pc = in.e;
          } else if (in.d) {
            ok = push({FrameKind::Branch, in.e, pos, 0, 0, 0});
            if (ok) enter_loop(in, pc, pos, pc);
          } else {
            ok = push({FrameKind::EnterLoop, pc, pos, 0, 0, 0});
            pc = in.e;
          }
          break;
        }
        case Op::RepeatEnd: {
          const Inst& check = p_.code[in.b];
          // A pass that matched nothing once the minimum is met ends the loop's progress.
          if (counters_[in.a] >= check.b && pos == loop_start_[in.a]) {
            ok = false;
            break;
          }
          save_loop(in.a);
          ++counters_[in.a];
          pc = in.b;
          break;
        }
        case Op::LookAhead:
          look_frame_[in.c] = stack_.size();
          ok = push({FrameKind::LookFail, in.a, pos, in.b, 0, 0});
          ++pc;
          break;
        case Op::LookEnd: {
          // The sub-program matched: its own choices are never returned to.
          const size_t base = look_frame_[in.a];
          const Frame look = stack_[base];
          if (look.a != 0) {
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
            stack_.resize(keep);
            pc = look.pc;
            pos = look.pos;
          }
          break;
        }
        case Op::Match:
          return true;
      }
      if (!ok && !backtrack(pc, pos)) return false;
    }
  }

  const RegexProgram& p_;
  std::u16string_view text_;
  std::int32_t n_;
  std::int64_t& steps_left_;
  bool exhausted_ = false;
  LiteralSearch prefix_;
  std::vector<std::int32_t> slots_;
  std::vector<int> counters_;
  std::vector<std::int32_t> loop_start_;
  std::vector<size_t> look_frame_;  // per look-ahead: the stack index of its LookFail frame
  std::vector<Frame> stack_;
};

}  // namespace

std::shared_ptr<const CompiledRegex> CompiledRegex::compile(std::u16string_view pattern, const RegexOptions& options) {
  auto compiled = std::make_shared<CompiledRegex>();
  compiled->options_ = options;
  if (!compile_regex(pattern, options.ignore_case, options.multiline, compiled->program_)) return nullptr;
  return compiled;
}

std::vector<RegexMatch> CompiledRegex::execute(std::u16string_view text, std::int64_t step_budget) const {
  std::vector<RegexMatch> matches;
  // Positions are 32-bit: a longer text is searched no further than that.
  if (text.size() > static_cast<size_t>(INT32_MAX - 1)) text = text.substr(0, INT32_MAX - 1);
  std::int64_t steps_left = step_budget;
  Matcher matcher(program_, text, steps_left);
  std::int32_t from = 0;
  const auto n = static_cast<std::int32_t>(text.size());
  while (from <= n) {
    RegexMatch match;
    if (!matcher.search(from, match)) break;
    const std::int32_t end = match.slots[1];
    matches.push_back(std::move(match));
    if (!options_.global) break;
    from = end == matches.back().slots[0] ? end + 1 : end;
  }
  return matches;
}
