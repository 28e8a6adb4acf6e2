#pragma once
// RegexObject: one compiled regular expression, the match collection of its
// last run and the searched text (its own copy, or the caller's when given
// shared). Matches and groups are
// numbered from 1. Texts are code page 936; the engine works on UTF-16.
#include <memory>
#include <optional>

#include "text/text.h"

struct RegexSubject;  // a searched text in both forms (regex_object.cpp)

class RegexObject {
public:
  RegexObject();
  ~RegexObject();
  // A copy shares the compiled pattern and the match collection, and has its
  // own copy of the searched text.
  RegexObject(const RegexObject& other);
  RegexObject& operator=(const RegexObject& other);

  // Omitted and false differ: case_sensitive defaults to false, multiline and
  // global to true, quote_marker to false. Returns false when the pattern
  // does not compile (then every read gives its empty value).
  bool create(const Text& pattern, const Text& subject,
              std::optional<bool> case_sensitive = std::nullopt,
              std::optional<bool> multiline = std::nullopt,
              std::optional<bool> global = std::nullopt,
              std::optional<bool> quote_marker = std::nullopt);
  // The same over a text the caller holds shared (a page that several
  // objects search): the object keeps that text, not a copy of it.
  bool create(const Text& pattern, std::shared_ptr<const Text> subject,
              std::optional<bool> case_sensitive = std::nullopt,
              std::optional<bool> multiline = std::nullopt,
              std::optional<bool> global = std::nullopt,
              std::optional<bool> quote_marker = std::nullopt);
  Text pattern() const;
  Text replace(const Text& replacement) const;
  int match_count() const;
  // `position`, when given, receives the byte offset found by the position
  // search, or -2.
  Text match_text(int match_index, int* position = nullptr) const;
  Text submatch_text(int match_index, int group_index, int* position = nullptr) const;
  int submatch_count() const;

private:
  struct State;
  bool create_over(const Text& pattern, std::shared_ptr<const RegexSubject> subject, std::optional<bool> case_sensitive,
                   std::optional<bool> multiline, std::optional<bool> global, std::optional<bool> quote_marker);
  bool ignores_case() const;
  const Text& subject_text() const;

  // The compiled pattern, the match collection and the searched text of the
  // last create. The searched text never changes once stored, so objects
  // created over equal texts (the worker's six over one page) and copies
  // share one copy of it.
  std::shared_ptr<const State> shared_;
};
