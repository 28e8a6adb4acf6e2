#include "regex/regex_compiler.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "regex/case_folding.h"

namespace {

// --- syntax tree -------------------------------------------------------------

enum class Kind { Empty, Char, Any, Class, Seq, Alt, Group, Look, Repeat, LineStart, LineEnd, WordB, NotWordB, BackRef };

struct Node {
  Kind kind = Kind::Empty;
  char16_t ch = 0;
  int index = -1;        // Class: class index; Group: capture number (-1: none); BackRef: group
  int min = 0, max = 0;  // Repeat; max -1: unbounded
  bool greedy = true;
  bool negative = false;  // Look
  int first_group = 0;    // Repeat: capture groups opened inside: [first_group, end_group)
  int end_group = 0;
  std::vector<int> kids;
};

const std::pair<char16_t, char16_t> kDigits[] = {{u'0', u'9'}};
const std::pair<char16_t, char16_t> kWord[] = {{u'0', u'9'}, {u'A', u'Z'}, {u'_', u'_'}, {u'a', u'z'}};
const std::pair<char16_t, char16_t> kSpace[] = {
    {0x09, 0x0D}, {0x20, 0x20}, {0xA0, 0xA0}, {0x1680, 0x1680}, {0x2000, 0x200A}, {0x2028, 0x2029},
    {0x202F, 0x202F}, {0x205F, 0x205F}, {0x3000, 0x3000}, {0xFEFF, 0xFEFF}};

template <size_t N>
void add_ranges(CharClass& cls, const std::pair<char16_t, char16_t> (&ranges)[N], bool complement) {
  if (!complement) {
    cls.ranges.insert(cls.ranges.end(), ranges, ranges + N);
    return;
  }
  char16_t next = 0;
  bool open = true;
  for (const auto& r : ranges) {
    if (r.first > next) cls.ranges.emplace_back(next, static_cast<char16_t>(r.first - 1));
    if (r.second == 0xFFFF) {
      open = false;
      break;
    }
    next = static_cast<char16_t>(r.second + 1);
  }
  if (open) cls.ranges.emplace_back(next, 0xFFFF);
}

// \d \D \w \W \s \S: adds the escape's characters; false for any other letter.
bool add_class_escape(CharClass& cls, char16_t letter) {
  switch (letter) {
    case u'd': case u'D': add_ranges(cls, kDigits, letter == u'D'); return true;
    case u'w': case u'W': add_ranges(cls, kWord, letter == u'W'); return true;
    case u's': case u'S': add_ranges(cls, kSpace, letter == u'S'); return true;
    default: return false;
  }
}

int hex_value(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

class Parser {
public:
  Parser(std::u16string_view pattern, RegexProgram& program) : p_(pattern), program_(program) {
    total_groups_ = count_groups();
  }

  // The root node, or -1 when the pattern is not valid.
  int parse() {
    const int root = parse_alternation(0);
    if (!ok_ || i_ != p_.size()) return -1;
    return root;
  }
  const std::vector<Node>& nodes() const { return nodes_; }
  int group_count() const { return next_group_ - 1; }

private:
  int count_groups() const {
    int groups = 0;
    bool in_class = false;
    for (size_t i = 0; i < p_.size(); ++i) {
      const char16_t c = p_[i];
      if (c == u'\\') {
        ++i;
      } else if (in_class) {
        if (c == u']') in_class = false;
      } else if (c == u'[') {
        in_class = true;
      } else if (c == u'(' && !(i + 1 < p_.size() && p_[i + 1] == u'?')) {
        ++groups;
      }
    }
    return groups;
  }

  int add(Node node) {
    nodes_.push_back(std::move(node));
    return static_cast<int>(nodes_.size()) - 1;
  }
  int fail() {
    ok_ = false;
    return -1;
  }
  bool at_end() const { return i_ >= p_.size(); }
  char16_t peek() const { return p_[i_]; }

  int parse_alternation(int depth) {
    Node alt;
    alt.kind = Kind::Alt;
    alt.kids.push_back(parse_sequence(depth));
    while (ok_ && !at_end() && peek() == u'|') {
      ++i_;
      alt.kids.push_back(parse_sequence(depth));
    }
    if (!ok_) return -1;
    if (alt.kids.size() == 1) return alt.kids[0];
    return add(std::move(alt));
  }

  int parse_sequence(int depth) {
    Node seq;
    seq.kind = Kind::Seq;
    while (ok_ && !at_end() && peek() != u'|' && peek() != u')') {
      const int term = parse_term(depth);
      if (term >= 0) seq.kids.push_back(term);
    }
    if (!ok_) return -1;
    if (seq.kids.size() == 1) return seq.kids[0];
    return add(std::move(seq));
  }

  // {m}, {m,}, {m,n} at i_; false (and i_ unchanged) when the text is no quantifier.
  bool parse_braces(int& min, int& max) {
    size_t j = i_ + 1;
    auto number = [&](int& value) {
      const size_t from = j;
      long long v = 0;
      while (j < p_.size() && p_[j] >= u'0' && p_[j] <= u'9') {
        v = std::min<long long>(v * 10 + (p_[j] - u'0'), INT_MAX);
        ++j;
      }
      value = static_cast<int>(v);
      return j > from;
    };
    if (!number(min)) return false;
    max = min;
    if (j < p_.size() && p_[j] == u',') {
      ++j;
      if (!number(max)) max = -1;
    }
    if (j >= p_.size() || p_[j] != u'}') return false;
    i_ = j + 1;
    return true;
  }

  int parse_term(int depth) {
    const int groups_before = next_group_;
    int atom = parse_atom(depth);
    if (!ok_) return -1;
    bool quantified = false;
    while (!at_end()) {
      int min = 0, max = 0;
      const char16_t c = peek();
      if (c == u'*') {
        min = 0, max = -1, ++i_;
      } else if (c == u'+') {
        min = 1, max = -1, ++i_;
      } else if (c == u'?') {
        min = 0, max = 1, ++i_;
      } else if (c == u'{' && parse_braces(min, max)) {
      } else {
        break;
      }
      // Nothing to repeat, or a quantifier on a quantifier.
      if (atom < 0 || quantified) return fail();
      const Kind kind = nodes_[atom].kind;
      if (kind == Kind::LineStart || kind == Kind::LineEnd || kind == Kind::WordB || kind == Kind::NotWordB) {
        return fail();
      }
      if (max != -1 && min > max) return fail();
      Node repeat;
      repeat.kind = Kind::Repeat;
      repeat.min = min;
      repeat.max = max;
      repeat.first_group = groups_before;
      repeat.end_group = next_group_;
      if (!at_end() && peek() == u'?') {
        repeat.greedy = false;
        ++i_;
      }
      repeat.kids.push_back(atom);
      atom = add(std::move(repeat));
      quantified = true;
    }
    return atom;
  }

  int char_node(char16_t c) {
    Node n;
    n.kind = Kind::Char;
    n.ch = c;
    return add(std::move(n));
  }

  int class_node(CharClass cls) {
    program_.classes.push_back(std::move(cls));
    Node n;
    n.kind = Kind::Class;
    n.index = static_cast<int>(program_.classes.size()) - 1;
    return add(std::move(n));
  }

  int simple_node(Kind kind) {
    Node n;
    n.kind = kind;
    return add(std::move(n));
  }

  int parse_atom(int depth) {
    const char16_t c = peek();
    switch (c) {
      case u'^':
        ++i_;
        return simple_node(Kind::LineStart);
      case u'$':
        ++i_;
        return simple_node(Kind::LineEnd);
      case u'.':
        ++i_;
        return simple_node(Kind::Any);
      case u'(':
        return parse_group(depth);
      case u'[':
        return parse_class();
      case u'\\':
        return parse_escape();
      case u'*':
      case u'+':
      case u'?':
        return fail();
      case u'{': {
        int min = 0, max = 0;
        const size_t at = i_;
        if (parse_braces(min, max)) return fail();
        i_ = at + 1;
        return char_node(c);
      }
      default:
        ++i_;
        return char_node(c);
    }
  }

  int parse_group(int depth) {
    if (depth + 1 > kMaxPatternNesting) return fail();
    ++i_;
    Node group;
    group.kind = Kind::Group;
    if (!at_end() && peek() == u'?') {
      if (i_ + 1 >= p_.size()) return fail();
      const char16_t kind = p_[i_ + 1];
      if (kind == u':') {
        group.index = -1;
      } else if (kind == u'=' || kind == u'!') {
        group.kind = Kind::Look;
        group.negative = kind == u'!';
      } else {
        return fail();
      }
      i_ += 2;
    } else {
      group.index = next_group_++;
    }
    const int body = parse_alternation(depth + 1);
    if (!ok_ || at_end() || peek() != u')') return fail();
    ++i_;
    group.kids.push_back(body);
    return add(std::move(group));
  }

  // One escape outside a class; i_ at the backslash.
  int parse_escape() {
    if (i_ + 1 >= p_.size()) return fail();
    const char16_t c = p_[i_ + 1];
    i_ += 2;
    CharClass cls;
    if (add_class_escape(cls, c)) return class_node(std::move(cls));
    if (c == u'b') return simple_node(Kind::WordB);
    if (c == u'B') return simple_node(Kind::NotWordB);
    if (c >= u'1' && c <= u'9') {
      // A back-reference when such a group exists, else an octal escape or the digit.
      size_t j = i_ - 1;
      long long n = 0;
      while (j < p_.size() && p_[j] >= u'0' && p_[j] <= u'9' && n <= total_groups_) n = n * 10 + (p_[j++] - u'0');
      if (n <= total_groups_) {
        i_ = j;
        Node ref;
        ref.kind = Kind::BackRef;
        ref.index = static_cast<int>(n);
        return add(std::move(ref));
      }
    }
    i_ -= 2;
    return char_node(escaped_char());
  }

  // The character of an escape that stands for one character; i_ at the backslash.
  char16_t escaped_char() {
    const char16_t c = p_[i_ + 1];
    i_ += 2;
    switch (c) {
      case u'n': return u'\n';
      case u'r': return u'\r';
      case u't': return u'\t';
      case u'f': return u'\f';
      case u'v': return u'\v';
      case u'x':
        if (i_ + 1 < p_.size() && hex_value(p_[i_]) >= 0 && hex_value(p_[i_ + 1]) >= 0) {
          const char16_t v = static_cast<char16_t>(hex_value(p_[i_]) * 16 + hex_value(p_[i_ + 1]));
          i_ += 2;
          return v;
        }
        return c;
      case u'u':
        if (i_ + 3 < p_.size() && hex_value(p_[i_]) >= 0 && hex_value(p_[i_ + 1]) >= 0 &&
            hex_value(p_[i_ + 2]) >= 0 && hex_value(p_[i_ + 3]) >= 0) {
          int v = 0;
          for (int k = 0; k < 4; ++k) v = v * 16 + hex_value(p_[i_ + k]);
          i_ += 4;
          return static_cast<char16_t>(v);
        }
        return c;
      case u'c':
        if (i_ < p_.size() && ((p_[i_] >= u'a' && p_[i_] <= u'z') || (p_[i_] >= u'A' && p_[i_] <= u'Z'))) {
          return static_cast<char16_t>(p_[i_++] % 32);
        }
        // No control letter: the backslash stands for itself and the c follows.
        --i_;
        return u'\\';
      default:
        if (c >= u'0' && c <= u'7') {
          // Octal: up to three digits, at most 0377.
          int v = c - u'0';
          for (int k = 0; k < 2 && i_ < p_.size() && p_[i_] >= u'0' && p_[i_] <= u'7' && v * 8 + (p_[i_] - u'0') <= 0377; ++k) {
            v = v * 8 + (p_[i_++] - u'0');
          }
          return static_cast<char16_t>(v);
        }
        return c;
    }
  }

  int parse_class() {
    ++i_;
    CharClass cls;
    if (!at_end() && peek() == u'^') {
      cls.negated = true;
      ++i_;
    }
    // One item: a character (returned) or a class escape (added, -1 returned).
    auto item = [&]() -> int {
      const char16_t c = peek();
      if (c != u'\\') {
        ++i_;
        return c;
      }
      if (i_ + 1 >= p_.size()) return -2;
      const char16_t e = p_[i_ + 1];
      if (add_class_escape(cls, e)) {
        i_ += 2;
        return -1;
      }
      if (e == u'b') {  // a backspace inside a class
        i_ += 2;
        return 0x08;
      }
      return escaped_char();
    };
    while (!at_end() && peek() != u']') {
      const int first = item();
      if (first == -2) return fail();
      if (first == -1) continue;
      if (i_ + 1 < p_.size() && peek() == u'-' && p_[i_ + 1] != u']') {
        ++i_;
        const int last = item();
        if (last == -2) return fail();
        if (last == -1) {
          // A class escape cannot end a range: the dash is itself a character.
          cls.ranges.emplace_back(static_cast<char16_t>(first), static_cast<char16_t>(first));
          cls.ranges.emplace_back(u'-', u'-');
          continue;
        }
        if (last < first) return fail();
        cls.ranges.emplace_back(static_cast<char16_t>(first), static_cast<char16_t>(last));
      } else {
        cls.ranges.emplace_back(static_cast<char16_t>(first), static_cast<char16_t>(first));
      }
    }
    if (at_end()) return fail();
    ++i_;
    return class_node(std::move(cls));
  }

  std::u16string_view p_;
  RegexProgram& program_;
  size_t i_ = 0;
  bool ok_ = true;
  int next_group_ = 1;
  int total_groups_ = 0;
  std::vector<Node> nodes_;
};

// --- code generation -----------------------------------------------------------

class Generator {
public:
  Generator(const std::vector<Node>& nodes, RegexProgram& program) : nodes_(nodes), program_(program) {}

  void emit_node(int index) {
    if (index < 0) return;
    const Node& n = nodes_[index];
    switch (n.kind) {
      case Kind::Empty:
        break;
      case Kind::Char:
        emit(Inst::Char({canon(n.ch)}));
        break;
      case Kind::Any:
        emit(Inst::Any({}));
        break;
      case Kind::Class:
        emit(Inst::Class({n.index}));
        break;
      case Kind::LineStart:
        emit(Inst::LineStart({}));
        break;
      case Kind::LineEnd:
        emit(Inst::LineEnd({}));
        break;
      case Kind::WordB:
        emit(Inst::WordBoundary({}));
        break;
      case Kind::NotWordB:
        emit(Inst::NotWordBoundary({}));
        break;
      case Kind::BackRef:
        emit(Inst::BackRef({n.index}));
        break;
      case Kind::Seq:
        emit_sequence(n);
        break;
      case Kind::Alt:
        emit_alternation(n);
        break;
      case Kind::Group:
        if (n.index >= 0) emit(Inst::Save({2 * n.index}));
        emit_node(n.kids[0]);
        if (n.index >= 0) emit(Inst::Save({2 * n.index + 1}));
        break;
      case Kind::Look: {
        const int reg = program_.look_count++;
        const int look = emit(Inst::LookAhead({0, n.negative, reg}));
        emit_node(n.kids[0]);
        emit(Inst::LookEnd({reg}));
        program_.code[look].look_ahead().next = pc();
        break;
      }
      case Kind::Repeat:
        emit_repeat(n);
        break;
    }
  }

private:
  int pc() const { return static_cast<int>(program_.code.size()); }
  char16_t canon(char16_t c) const { return program_.ignore_case ? fold_case(c) : c; }
  int emit(Inst inst) {
    program_.code.push_back(inst);
    return pc() - 1;
  }

  // Runs of plain characters become one Literal, compared in one step.
  void emit_sequence(const Node& n) {
    for (size_t k = 0; k < n.kids.size();) {
      size_t end = k;
      std::u16string literal;
      while (end < n.kids.size() && nodes_[n.kids[end]].kind == Kind::Char) {
        const char16_t c = nodes_[n.kids[end]].ch;
        literal.push_back(program_.ignore_case ? fold_case(c) : c);
        ++end;
      }
      if (literal.size() >= 2) {
        program_.literals.push_back(std::move(literal));
        emit(Inst::Literal({static_cast<std::int32_t>(program_.literals.size()) - 1}));
        k = end;
      } else {
        emit_node(n.kids[k]);
        ++k;
      }
    }
  }

  void emit_alternation(const Node& n) {
    std::vector<int> jumps;
    for (size_t k = 0; k + 1 < n.kids.size(); ++k) {
      const int split = emit(Inst::Split({0, 0}));
      program_.code[split].split().first = pc();
      emit_node(n.kids[k]);
      jumps.push_back(emit(Inst::Jump({0})));
      program_.code[split].split().second = pc();
    }
    emit_node(n.kids.back());
    for (int j : jumps) program_.code[j].jump().target = pc();
  }

  void emit_repeat(const Node& n) {
    if (n.max == 0) return;
    const Node& atom = nodes_[n.kids[0]];
    if (n.min == 1 && n.max == 1) {
      emit_node(n.kids[0]);
      return;
    }
    // One character at a time: a run, never a loop.
    if (atom.kind == Kind::Char || atom.kind == Kind::Any || atom.kind == Kind::Class) {
      RunOperands run{};
      run.atom = static_cast<std::uint8_t>(atom.kind == Kind::Char ? Op::Char
                                           : atom.kind == Kind::Any ? Op::Any
                                                                    : Op::Class);
      run.greedy = n.greedy;
      run.unit = atom.kind == Kind::Char ? canon(atom.ch) : 0;
      run.cls = atom.kind == Kind::Class ? atom.index : -1;
      run.min = n.min;
      run.max = n.max;
      run.follow = -1;
      run.memo = program_.run_count++;
      emit(Inst::Run(run));
      return;
    }
    const int reg = program_.loop_count++;
    emit(Inst::RepeatStart({reg}));
    const int check_pc = emit(Inst::RepeatCheck({reg, n.min, n.max, n.greedy, 0, n.first_group, n.end_group}));
    emit_node(n.kids[0]);
    emit(Inst::RepeatEnd({reg, check_pc}));
    program_.code[check_pc].repeat_check().exit = pc();
  }

  const std::vector<Node>& nodes_;
  RegexProgram& program_;
};

// The literal every match begins with; false once the literal ends.
bool literal_prefix(const std::vector<Node>& nodes, int index, std::u16string& out) {
  if (index < 0) return true;
  const Node& n = nodes[index];
  switch (n.kind) {
    case Kind::Char:
      out.push_back(n.ch);
      return true;
    case Kind::Seq:
      for (int kid : n.kids) {
        if (!literal_prefix(nodes, kid, out)) return false;
      }
      return true;
    case Kind::Group:
      return literal_prefix(nodes, n.kids[0], out);
    case Kind::Repeat:
      if (n.min >= 1 && nodes[n.kids[0]].kind == Kind::Char) out.push_back(nodes[n.kids[0]].ch);
      return false;
    default:
      return false;
  }
}

// Adds the other case of every letter in the class, so that matching without
// regard to case is one look-up: a unit is in the class when it or its
// partner was written there.
void add_case_partners(CharClass& cls) {
  const auto written = cls.ranges;
  for (const auto& r : written) {
    for (const CaseRange& c : kCaseRanges) {
      // Lower-case letters written: their capitals; capitals written: their lower case.
      for (const bool lower : {true, false}) {
        const int first = lower ? c.first : c.upper_first(), last = lower ? c.last : c.upper_last();
        const int from = std::max<int>(r.first, first), to = std::min<int>(r.second, last);
        const int delta = lower ? c.delta : -c.delta;
        for (int u = from; u <= to; ++u) {
          if ((u - first) % c.step != 0) continue;
          if (c.step == 1) {  // the whole stretch at once
            cls.ranges.emplace_back(static_cast<char16_t>(u + delta), static_cast<char16_t>(to + delta));
            break;
          }
          cls.ranges.emplace_back(static_cast<char16_t>(u + delta), static_cast<char16_t>(u + delta));
        }
      }
    }
  }
  cls.normalize();
}

// Units a follow holds at most: enough to tell the places apart, few enough
// to check cheaply at each of them.
constexpr size_t kMaxFollow = 64;

// For every Run, the units the pattern must match right after it (through
// Saves, which match nothing), when there are any.
void add_follows(RegexProgram& program) {
  for (Inst& inst : program.code) {
    if (inst.op != Op::Run) continue;
    Follow follow;
    for (size_t pc = static_cast<size_t>(&inst - program.code.data()) + 1;
         pc < program.code.size() && follow.size() < kMaxFollow; ++pc) {
      const Inst& next = program.code[pc];
      if (next.op == Op::Save) continue;
      if (next.op == Op::Char) {
        follow.push_back({Op::Char, next.ch().unit, -1});
      } else if (next.op == Op::Literal) {
        for (char16_t c : program.literals[next.literal().index]) {
          if (follow.size() < kMaxFollow) follow.push_back({Op::Char, c, -1});
        }
      } else if (next.op == Op::Any) {
        follow.push_back({Op::Any, 0, -1});
      } else if (next.op == Op::Class) {
        follow.push_back({Op::Class, 0, next.cls().index});
      } else {
        break;
      }
    }
    if (follow.empty()) continue;
    program.follows.push_back(std::move(follow));
    inst.run().follow = static_cast<std::int32_t>(program.follows.size()) - 1;
  }
}

}  // namespace

bool compile_regex(std::u16string_view pattern, bool ignore_case, bool multiline, RegexProgram& out) {
  out = RegexProgram();
  out.ignore_case = ignore_case;
  out.multiline = multiline;
  Parser parser(pattern, out);
  const int root = parser.parse();
  if (root < 0) return false;
  out.group_count = parser.group_count();
  Generator generator(parser.nodes(), out);
  out.code.push_back(Inst::Save({0}));
  generator.emit_node(root);
  out.code.push_back(Inst::Save({1}));
  out.code.push_back(Inst::Match({}));
  for (CharClass& cls : out.classes) {
    cls.normalize();
    if (ignore_case) add_case_partners(cls);
  }
  add_follows(out);
  literal_prefix(parser.nodes(), root, out.required_prefix);
  if (ignore_case) {
    for (char16_t& c : out.required_prefix) c = fold_case(c);
  }
  const Node& first = parser.nodes()[root];
  out.anchored_start =
      !multiline && (first.kind == Kind::LineStart ||
                     (first.kind == Kind::Seq && !first.kids.empty() &&
                      parser.nodes()[first.kids[0]].kind == Kind::LineStart));
  return true;
}
