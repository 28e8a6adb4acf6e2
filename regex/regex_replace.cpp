// Replace: the text with each match replaced by the replacement pattern.
#include "regex/regex_engine.h"

namespace {

void append_group(std::u16string& out, std::u16string_view text, const RegexMatch& match, int group) {
  if (match.group_matched(group)) {
    out.append(text.substr(match.slots[2 * group], match.slots[2 * group + 1] - match.slots[2 * group]));
  }
}

// Expands `$` references in `replacement` for one match.
void append_replacement(std::u16string& out, std::u16string_view text, std::u16string_view replacement,
                        const RegexMatch& match, int groups) {
  for (size_t i = 0; i < replacement.size(); ++i) {
    const char16_t c = replacement[i];
    if (c != u'$' || i + 1 >= replacement.size()) {
      out.push_back(c);
      continue;
    }
    const char16_t next = replacement[i + 1];
    if (next == u'$') {
      out.push_back(u'$');
      ++i;
    } else if (next == u'&') {
      append_group(out, text, match, 0);
      ++i;
    } else if (next == u'`') {
      out.append(text.substr(0, match.slots[0]));
      ++i;
    } else if (next == u'\'') {
      out.append(text.substr(match.slots[1]));
      ++i;
    } else if (next >= u'0' && next <= u'9') {
      // Two digits when they name a group, else one; $0 and unknown groups stay as written.
      int group = next - u'0';
      size_t used = 1;
      if (i + 2 < replacement.size() && replacement[i + 2] >= u'0' && replacement[i + 2] <= u'9') {
        const int two = group * 10 + (replacement[i + 2] - u'0');
        if (two >= 1 && two <= groups) group = two, used = 2;
      }
      if (group >= 1 && group <= groups) {
        append_group(out, text, match, group);
        i += used;
      } else {
        out.push_back(c);
      }
    } else {
      out.push_back(c);
    }
  }
}

}  // namespace

std::u16string CompiledRegex::replace(std::u16string_view text, std::u16string_view replacement) const {
  std::u16string out;
  size_t copied = 0;
  for (const RegexMatch& match : execute(text)) {
    out.append(text.substr(copied, match.slots[0] - copied));
    append_replacement(out, text, replacement, match, group_count());
    copied = match.slots[1];
  }
  out.append(text.substr(copied));
  return out;
}
