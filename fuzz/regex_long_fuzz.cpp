// The long-input mode of the regular-expression fuzzer: a short input is a
// recipe for a long pattern (a piece repeated up to 30 000 times, so many
// groups, loops and alternatives) and a long text (a piece repeated up to
// 1 MB). Nothing may crash, and every execute must end within its bounds:
// the step and memory budgets are a twentieth of the engine's own and an
// eighth, as the fuzzer's instrumentation makes a step some fifty times
// dearer, so that the give-up paths run often and an input takes seconds,
// not minutes (libFuzzer's -timeout and -rss_limit_mb catch one that does not end).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_units.h"
#include "regex/regex_engine.h"

namespace {


// Up to five parts separated by 0xFF bytes.
std::string part(const std::string& rest, int index) {
  size_t from = 0;
  for (int k = 0; k < index; ++k) {
    from = rest.find('\xFF', from);
    if (from == std::string::npos) return std::string();
    ++from;
  }
  const size_t to = rest.find('\xFF', from);
  return rest.substr(from, to == std::string::npos ? std::string::npos : to - from);
}

std::u16string repeated(const std::u16string& piece, size_t times, size_t max_units) {
  std::u16string out;
  if (piece.empty()) return out;
  times = std::min(times, max_units / piece.size());
  out.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

}  // namespace

// Input: flags, two bytes of pattern repeats, three bytes of text repeats,
// then pattern head, pattern piece, pattern tail, text piece and text tail,
// separated by 0xFF bytes; pattern and text are read as UTF-16 units, except
// that a byte below 0x80 followed by nothing stands for itself.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 7) return 0;
  const std::uint8_t flags = data[0];
  const size_t pattern_times = (data[1] | data[2] << 8) % 30001;
  const size_t text_times = data[3] | data[4] << 8 | data[5] << 16;
  const std::string rest(reinterpret_cast<const char*>(data + 6), size - 6);
  // ASCII pieces are easier to mutate into syntax: a piece of one width reads bytes as units.
  const auto units = [&](const std::string& bytes) {
    return (flags & 128) ? as_units(bytes) : std::u16string(bytes.begin(), bytes.end());
  };
  const std::u16string pattern = units(part(rest, 0)) + repeated(units(part(rest, 1)), pattern_times, 200000) +
                                 units(part(rest, 2));
  const std::u16string text =
      repeated(units(part(rest, 3)), text_times, size_t{1} << 20) + units(part(rest, 4));

  RegexOptions options;
  options.ignore_case = (flags & 1) != 0;
  options.multiline = (flags & 2) != 0;
  options.global = (flags & 4) == 0;
  const auto compiled = CompiledRegex::compile(pattern, options);
  if (!compiled) return 0;
  const size_t memory_budget = CompiledRegex::kMemoryBudget / 8;
  const RegexMatches matches = compiled->execute(text, CompiledRegex::kStepBudget / 20, memory_budget);
  if (matches.held_bytes() > memory_budget) __builtin_trap();
  std::int32_t last_end = 0;
  for (const RegexMatch match : matches) {
    if (match.slots[0] < last_end || match.slots[1] < match.slots[0] ||
        match.slots[1] > static_cast<std::int32_t>(text.size())) {
      __builtin_trap();
    }
    last_end = match.slots[1];
    for (int g = 1; g <= compiled->group_count(); ++g) {
      const std::int32_t s = match.slots[2 * g], e = match.slots[2 * g + 1];
      if (s >= 0 && (e < s || e > static_cast<std::int32_t>(text.size()))) __builtin_trap();
    }
  }
  return 0;
}
