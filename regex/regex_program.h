#pragma once
// A compiled pattern: flat bytecode for the backtracking matcher. Every
// operation is listed once below; its enum, its name and its place in the
// dump (dump_program) all come from that list.
#include <cassert>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A character class: ranges of UTF-16 code units, sorted and merged when the
// pattern is compiled (with both cases of each letter when ignoring case),
// possibly negated.
struct CharClass {
  std::vector<std::pair<char16_t, char16_t>> ranges;
  bool negated = false;
  bool in_ranges(char16_t c) const;  // before negation
  bool contains(char16_t c) const;
  void normalize();  // sorts and merges the ranges
};

// Operands, one struct per shape. Program counters and indexes are 32-bit.
struct NoOperands {};
struct UnitOperands {
  char16_t unit;  // already folded when ignoring case
};
struct IndexOperands {
  std::int32_t index;  // into the program's literals or classes
};
struct TargetOperands {
  std::int32_t target;  // pc
};
struct SplitOperands {
  std::int32_t first;   // pc tried first
  std::int32_t second;  // pc tried when the first way fails
};
struct SlotOperands {
  std::int32_t slot;  // 2 * group: start, 2 * group + 1: end
};
struct GroupOperands {
  std::int32_t group;
};
// Any, Char or Class repeated, one code unit at a time; the next pc is the continuation.
struct RunOperands {
  std::uint8_t atom;       // an Op: Any, Char or Class
  bool greedy;
  char16_t unit;           // Char: the unit (folded when ignoring case)
  std::int32_t cls;        // Class: the class index
  std::int32_t min;
  std::int32_t max;        // -1: unbounded
  std::int32_t follow;     // index into the program's follows, -1: none
  std::int32_t memo;       // this run's place in the matcher's per-run memos
};
struct LoopOperands {
  std::int32_t loop;  // loop register
};
struct RepeatCheckOperands {
  std::int32_t loop;         // loop register
  std::int32_t min;
  std::int32_t max;          // -1: unbounded
  bool greedy;
  std::int32_t exit;         // pc after the loop
  std::int32_t first_group;  // capture groups inside the loop: [first_group, end_group)
  std::int32_t end_group;
};
struct RepeatEndOperands {
  std::int32_t loop;   // loop register
  std::int32_t check;  // pc of the loop's RepeatCheck
};
struct LookAheadOperands {
  std::int32_t next;  // pc after the sub-program
  bool negative;
  std::int32_t look;  // look-ahead register
};
struct LookEndOperands {
  std::int32_t look;  // look-ahead register
};

// X(operation, operand struct, accessor): the one list of operations.
#define QUENLIT_REGEX_OPS(X)                                                               \
  X(Char, UnitOperands, ch)            /* one code unit */                                 \
  X(Literal, IndexOperands, literal)   /* several code units compared in one step */       \
  X(Any, NoOperands, any)              /* any code unit but a line feed */                 \
  X(Class, IndexOperands, cls)         /* one code unit of a class */                      \
  X(Run, RunOperands, run)             /* one code unit repeated, without a loop */        \
  X(Split, SplitOperands, split)       /* a choice of two ways */                          \
  X(Jump, TargetOperands, jump)                                                            \
  X(Save, SlotOperands, save)          /* records the position in a capture slot */        \
  X(LineStart, NoOperands, line_start) /* ^ */                                             \
  X(LineEnd, NoOperands, line_end)     /* $ */                                             \
  X(WordBoundary, NoOperands, word_boundary)       /* \b */                                \
  X(NotWordBoundary, NoOperands, not_word_boundary) /* \B */                               \
  X(BackRef, GroupOperands, back_ref)                                                      \
  X(RepeatStart, LoopOperands, repeat_start)       /* a loop's counter starts at zero */   \
  X(RepeatCheck, RepeatCheckOperands, repeat_check) /* one more pass, or out */            \
  X(RepeatEnd, RepeatEndOperands, repeat_end)      /* a pass is done: back to the check */ \
  X(LookAhead, LookAheadOperands, look_ahead)      /* the sub-program follows */           \
  X(LookEnd, LookEndOperands, look_end)            /* the sub-program has matched */       \
  X(Match, NoOperands, match)

enum class Op : std::uint8_t {
#define QUENLIT_REGEX_ENUM(name, operands, accessor) name,
  QUENLIT_REGEX_OPS(QUENLIT_REGEX_ENUM)
#undef QUENLIT_REGEX_ENUM
};

// The operation's name as the dump writes it.
const char* op_name(Op op);

// One instruction: the operation and its operands, read through the
// accessor named in the list, which checks the operation in debug builds.
class Inst {
public:
#define QUENLIT_REGEX_MAKE(name, operands, accessor) \
  static Inst name(const operands& value) {          \
    Inst inst(Op::name);                             \
    inst.u_.accessor = value;                        \
    return inst;                                     \
  }                                                  \
  const operands& accessor() const {                 \
    assert(op == Op::name);                          \
    return u_.accessor;                              \
  }                                                  \
  operands& accessor() {                             \
    assert(op == Op::name);                          \
    return u_.accessor;                              \
  }
  QUENLIT_REGEX_OPS(QUENLIT_REGEX_MAKE)
#undef QUENLIT_REGEX_MAKE

  Op op;

private:
  explicit Inst(Op o) : op(o), u_{} {}
  union Operands {
#define QUENLIT_REGEX_MEMBER(name, operands, accessor) operands accessor;
    QUENLIT_REGEX_OPS(QUENLIT_REGEX_MEMBER)
#undef QUENLIT_REGEX_MEMBER
  } u_;
};

// The code units that must come right after a run for the pattern to go on
// (Chars, Literals, Anys and Classes, with only Saves between): one item per
// unit. The matcher looks for where they occur instead of trying every
// place the run could give back.
struct FollowItem {
  Op kind;  // Char, Any or Class
  char16_t unit;
  std::int32_t cls;
};
using Follow = std::vector<FollowItem>;

struct RegexProgram {
  std::vector<Inst> code;
  std::vector<CharClass> classes;
  std::vector<std::u16string> literals;
  std::vector<Follow> follows;
  int group_count = 0;  // capture groups, not counting the whole match
  int loop_count = 0;   // loop registers
  int look_count = 0;   // look-ahead registers
  int run_count = 0;    // Run instructions (each has a memo)
  bool ignore_case = false;
  bool multiline = false;
  // A literal every match starts with (folded when ignoring case), for a fast
  // search of the places worth trying.
  std::u16string required_prefix;
  // The pattern starts with ^ (not multiline): only position 0 can match.
  bool anchored_start = false;
};

// The program as text, one instruction a line ("12: Split first=13 second=20"),
// then its classes, literals and follows: for tests and for reading what a
// pattern compiled to.
std::string dump_program(const RegexProgram& program);
