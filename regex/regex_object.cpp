#include "regex/regex_object.h"

#include <vector>

#include "regex/regex_engine.h"
#include "text/code_page.h"
#include "text/replace_text.h"

// A searched text as the program holds it and as the engine reads it.
struct RegexSubject {
  std::shared_ptr<const Text> bytes;
  std::u16string units;
};

// What one create() leaves behind; copies of an object share it.
struct RegexObject::State {
  Text pattern;  // as set, after the quote-marker substitution
  bool ignore_case = true;
  std::shared_ptr<const CompiledRegex> compiled;  // null: the pattern is not valid
  bool has_collection = false;
  RegexMatches matches;  // offsets into subject->units
  std::shared_ptr<const RegexSubject> subject;
};

namespace {

// The worker creates six objects over one page: the page is converted once
// per thread (and copied once, unless it comes shared) and shared while the
// same text comes again.
thread_local std::shared_ptr<const RegexSubject> last_subject;

std::shared_ptr<const RegexSubject> stored_subject(std::shared_ptr<const Text> text) {
  if (!text) text = std::make_shared<const Text>();
  if (!last_subject || (last_subject->bytes != text && *last_subject->bytes != *text)) {
    last_subject.reset();  // the old page goes before the new one is made
    std::u16string units = gbk_to_utf16(*text);
    last_subject = std::make_shared<const RegexSubject>(RegexSubject{std::move(text), std::move(units)});
  }
  return last_subject;
}

// A text the caller keeps is copied only when it is not the page stored last.
std::shared_ptr<const RegexSubject> stored_subject(const Text& text) {
  if (last_subject && *last_subject->bytes == text) return last_subject;
  last_subject.reset();
  return stored_subject(std::make_shared<const Text>(text));
}

bool is_lead_byte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Every "#引号" becomes a double quotation mark, found only where a character starts.
Text substitute_quote_marker(const Text& pattern) {
  return replace_text(pattern, "#引号", "\"", 0, std::nullopt, true);
}

char ascii_upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// The byte offset of `find` in `subject`, searched from one byte before the
// match's character offset on and stepping by characters; -2 when not found.
int position_search(const Text& subject, const Text& find, long long first_index, bool ignore_case) {
  const size_t start = first_index > 0 ? static_cast<size_t>(first_index - 1) : 0;
  if (find.empty()) return start < subject.size() ? 0 : -2;
  for (size_t at = start; at < subject.size() && subject.size() - at >= find.size();) {
    size_t k = 0;
    while (k < find.size() &&
           (ignore_case ? ascii_upper(subject[at + k]) == ascii_upper(find[k]) : subject[at + k] == find[k])) {
      ++k;
    }
    if (k == find.size()) return static_cast<int>(at);
    if (is_lead_byte(subject[at])) {
      if (at + 1 == subject.size()) return -2;
      at += 2;
    } else {
      at += 1;
    }
  }
  return -2;
}

}  // namespace

RegexObject::RegexObject() = default;
RegexObject::~RegexObject() = default;
RegexObject::RegexObject(const RegexObject& other) = default;
RegexObject& RegexObject::operator=(const RegexObject& other) = default;

bool RegexObject::create(const Text& pattern, const Text& subject, std::optional<bool> case_sensitive,
                         std::optional<bool> multiline, std::optional<bool> global,
                         std::optional<bool> quote_marker) {
  return create_over(pattern, stored_subject(subject), case_sensitive, multiline, global, quote_marker);
}

bool RegexObject::create(const Text& pattern, std::shared_ptr<const Text> subject,
                         std::optional<bool> case_sensitive, std::optional<bool> multiline,
                         std::optional<bool> global, std::optional<bool> quote_marker) {
  return create_over(pattern, stored_subject(std::move(subject)), case_sensitive, multiline, global, quote_marker);
}

bool RegexObject::create_over(const Text& pattern, std::shared_ptr<const RegexSubject> subject,
                              std::optional<bool> case_sensitive, std::optional<bool> multiline,
                              std::optional<bool> global, std::optional<bool> quote_marker) {
  RegexOptions options;
  options.ignore_case = !case_sensitive.value_or(false);
  options.multiline = multiline.value_or(true);
  options.global = global.value_or(true);

  auto state = std::make_shared<State>();
  state->ignore_case = options.ignore_case;
  state->pattern = quote_marker.value_or(false) ? substitute_quote_marker(pattern) : pattern;
  state->compiled = CompiledRegex::compile(gbk_to_utf16(state->pattern), options);
  state->subject = std::move(subject);
  if (state->compiled) {
    state->matches = state->compiled->execute(state->subject->units);
    state->has_collection = true;
  }
  shared_ = std::move(state);
  return shared_->has_collection;
}

Text RegexObject::pattern() const { return shared_ ? shared_->pattern : Text(); }

Text RegexObject::replace(const Text& replacement) const {
  if (!shared_ || !shared_->compiled) return Text();
  return utf16_to_gbk(shared_->compiled->replace(shared_->subject->units, gbk_to_utf16(replacement)));
}

int RegexObject::match_count() const { return shared_ ? static_cast<int>(shared_->matches.size()) : 0; }

Text RegexObject::match_text(int match_index, int* position) const {
  Text value;
  long long first_index = 0;
  if (match_index >= 1 && match_index <= match_count()) {
    const RegexMatch match = shared_->matches[match_index - 1];
    value = utf16_to_gbk(std::u16string_view(shared_->subject->units).substr(match.index(), match.length()));
    first_index = match.index();
  }
  if (position) *position = position_search(subject_text(), value, first_index, ignores_case());
  return value;
}

Text RegexObject::submatch_text(int match_index, int group_index, int* position) const {
  Text value;
  long long first_index = 0;
  if (match_index >= 1 && match_index <= match_count()) {
    const RegexMatch match = shared_->matches[match_index - 1];
    first_index = match.index();
    if (group_index >= 1 && group_index <= shared_->compiled->group_count() && match.group_matched(group_index)) {
      const std::int32_t start = match.slots[2 * group_index];
      value = utf16_to_gbk(
          std::u16string_view(shared_->subject->units).substr(start, match.slots[2 * group_index + 1] - start));
    }
  }
  if (position) *position = position_search(subject_text(), value, first_index, ignores_case());
  return value;
}

int RegexObject::submatch_count() const { return match_count() > 0 ? shared_->compiled->group_count() : 0; }

bool RegexObject::ignores_case() const { return shared_ && shared_->ignore_case; }

const Text& RegexObject::subject_text() const {
  static const Text empty;
  return shared_ ? *shared_->subject->bytes : empty;
}
