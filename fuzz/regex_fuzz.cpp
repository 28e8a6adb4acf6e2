// Compiles arbitrary patterns and runs them over arbitrary texts, through
// RegexObject (code page 936 bytes, position search, replace) and straight
// through the engine (any UTF-16 code units, a small step budget so that the
// give-up paths run too): nothing may crash, hang or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_units.h"
#include "regex/regex_engine.h"
#include "regex/regex_object.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // First byte: flags; then the pattern up to the first 0xFF byte, the text after it.
  const std::uint8_t flags = data[0];
  const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t split = rest.find('\xFF');
  const std::string pattern = rest.substr(0, split);
  const std::string text = split == std::string::npos ? std::string() : rest.substr(split + 1);

  RegexObject object;
  object.create(pattern, text, (flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0, (flags & 8) != 0);
  int position = 0;
  const int count = object.match_count();
  for (int i = 0; i <= count + 1 && i < 64; ++i) {
    object.match_text(i, &position);
    for (int g = 0; g <= object.submatch_count() + 1 && g < 8; ++g) object.submatch_text(i, g, &position);
  }
  object.replace("$1$&$$$`$'$99x");

  // The same bytes read as UTF-16 code units: pattern pieces the code page
  // cannot spell (lone surrogates, letters of other scripts ignoring case).
  RegexOptions options;
  options.ignore_case = (flags & 16) != 0;
  options.multiline = (flags & 32) != 0;
  options.global = (flags & 64) != 0;
  if (const auto compiled = CompiledRegex::compile(as_units(pattern), options)) {
    const std::u16string units = as_units(text);
    for (const RegexMatch& match : compiled->execute(units, 100000)) {
      if (match.slots[0] < 0 || match.slots[1] < match.slots[0] || match.slots[1] > static_cast<int>(units.size())) {
        __builtin_trap();
      }
    }
  }
  return 0;
}
