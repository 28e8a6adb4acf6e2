#include "regex/regex_program.h"

#include <algorithm>
#include <cstdio>

bool CharClass::in_ranges(char16_t c) const {
  // Ranges are sorted and disjoint: the last one starting at or below c decides.
  auto after = std::upper_bound(ranges.begin(), ranges.end(), c,
                                [](char16_t value, const std::pair<char16_t, char16_t>& r) { return value < r.first; });
  return after != ranges.begin() && c <= std::prev(after)->second;
}

bool CharClass::contains(char16_t c) const { return in_ranges(c) != negated; }

void CharClass::normalize() {
  std::sort(ranges.begin(), ranges.end());
  std::vector<std::pair<char16_t, char16_t>> merged;
  for (const auto& r : ranges) {
    if (!merged.empty() && r.first <= merged.back().second + 1) {
      merged.back().second = std::max(merged.back().second, r.second);
    } else {
      merged.push_back(r);
    }
  }
  ranges = std::move(merged);
}

const char* op_name(Op op) {
  switch (op) {
#define QUENLIT_REGEX_NAME(name, operands, accessor) \
  case Op::name:                                     \
    return #name;
    QUENLIT_REGEX_OPS(QUENLIT_REGEX_NAME)
#undef QUENLIT_REGEX_NAME
  }
  return "?";
}

namespace {

void append_number(std::string& out, const char* format, long long value) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, format, value);
  out += buffer;
}

// A code unit as the dump shows it: printable ASCII as itself, others as U+XXXX.
void add_unit(std::string& out, char16_t c) {
  if (c >= 0x21 && c < 0x7F) {
    out += static_cast<char>(c);
  } else {
    append_number(out, "U+%04llX", c);
  }
}

void print(std::string&, const NoOperands&) {}
void print(std::string& out, const UnitOperands& o) {
  out += " unit=";
  add_unit(out, o.unit);
}
void print(std::string& out, const IndexOperands& o) { append_number(out, " index=%lld", o.index); }
void print(std::string& out, const TargetOperands& o) { append_number(out, " target=%lld", o.target); }
void print(std::string& out, const SplitOperands& o) {
  append_number(out, " first=%lld", o.first);
  append_number(out, " second=%lld", o.second);
}
void print(std::string& out, const SlotOperands& o) { append_number(out, " slot=%lld", o.slot); }
void print(std::string& out, const GroupOperands& o) { append_number(out, " group=%lld", o.group); }
void print(std::string& out, const RunOperands& o) {
  out += " atom=";
  out += op_name(static_cast<Op>(o.atom));
  if (static_cast<Op>(o.atom) == Op::Char) {
    out += " unit=";
    add_unit(out, o.unit);
  }
  if (static_cast<Op>(o.atom) == Op::Class) append_number(out, " class=%lld", o.cls);
  append_number(out, " min=%lld", o.min);
  append_number(out, " max=%lld", o.max);
  out += o.greedy ? " greedy" : " lazy";
  append_number(out, " follow=%lld", o.follow);
  append_number(out, " memo=%lld", o.memo);
}
void print(std::string& out, const LoopOperands& o) { append_number(out, " loop=%lld", o.loop); }
void print(std::string& out, const RepeatCheckOperands& o) {
  append_number(out, " loop=%lld", o.loop);
  append_number(out, " min=%lld", o.min);
  append_number(out, " max=%lld", o.max);
  out += o.greedy ? " greedy" : " lazy";
  append_number(out, " exit=%lld", o.exit);
  append_number(out, " groups=%lld", o.first_group);
  append_number(out, "..%lld", o.end_group);
}
void print(std::string& out, const RepeatEndOperands& o) {
  append_number(out, " loop=%lld", o.loop);
  append_number(out, " check=%lld", o.check);
}
void print(std::string& out, const LookAheadOperands& o) {
  append_number(out, " next=%lld", o.next);
  out += o.negative ? " negative" : " positive";
  append_number(out, " look=%lld", o.look);
}
void print(std::string& out, const LookEndOperands& o) { append_number(out, " look=%lld", o.look); }

void print_instruction(std::string& out, const Inst& inst) {
  out += op_name(inst.op);
  switch (inst.op) {
#define QUENLIT_REGEX_PRINT(name, operands, accessor) \
  case Op::name:                                      \
    print(out, inst.accessor());                      \
    break;
    QUENLIT_REGEX_OPS(QUENLIT_REGEX_PRINT)
#undef QUENLIT_REGEX_PRINT
  }
}

}  // namespace

std::string dump_program(const RegexProgram& program) {
  std::string out;
  for (size_t pc = 0; pc < program.code.size(); ++pc) {
    append_number(out, "%lld: ", static_cast<long long>(pc));
    print_instruction(out, program.code[pc]);
    out += '\n';
  }
  for (size_t k = 0; k < program.classes.size(); ++k) {
    append_number(out, "class %lld: ", static_cast<long long>(k));
    out += program.classes[k].negated ? "^" : "";
    for (const auto& r : program.classes[k].ranges) {
      out += '[';
      add_unit(out, r.first);
      out += '-';
      add_unit(out, r.second);
      out += ']';
    }
    out += '\n';
  }
  for (size_t k = 0; k < program.literals.size(); ++k) {
    append_number(out, "literal %lld: ", static_cast<long long>(k));
    for (char16_t c : program.literals[k]) add_unit(out, c);
    out += '\n';
  }
  for (size_t k = 0; k < program.follows.size(); ++k) {
    append_number(out, "follow %lld:", static_cast<long long>(k));
    for (const FollowItem& item : program.follows[k]) {
      out += ' ';
      if (item.kind == Op::Char) add_unit(out, item.unit);
      if (item.kind == Op::Any) out += "Any";
      if (item.kind == Op::Class) append_number(out, "class%lld", item.cls);
    }
    out += '\n';
  }
  append_number(out, "groups=%lld", program.group_count);
  append_number(out, " loops=%lld", program.loop_count);
  append_number(out, " looks=%lld", program.look_count);
  append_number(out, " runs=%lld", program.run_count);
  out += program.ignore_case ? " ignore-case" : "";
  out += program.multiline ? " multiline" : "";
  out += program.anchored_start ? " anchored" : "";
  if (!program.required_prefix.empty()) {
    out += " prefix=";
    for (char16_t c : program.required_prefix) add_unit(out, c);
  }
  out += '\n';
  return out;
}
