#pragma once
// Turning the six field patterns' matches into list rows and collected records.
// Platform-free: the Windows side only supplies a ResultSink.
#include <array>

#include "regex/regex_object.h"
#include "text/text.h"

// The six field patterns, in the order of the worker's six objects.
extern const Text title_pattern;
extern const Text date_pattern;
extern const Text size_pattern;
extern const Text popularity_pattern;
extern const Text hash_pattern;
extern const Text link_pattern;
extern const std::array<const Text*, 6> field_patterns;

enum ResultColumn { kColNumber, kColTitle, kColSize, kColDate, kColPopularity, kColHash, kColLink, kColumnCount };

// One hit, handed whole to the window's thread: columns 1..6 and the record.
// Column 0 (the row number) is worked out where the row is added.
struct ResultHit {
  std::array<Text, kColumnCount> cells;
  Text record;
};

// Where add_result_rows puts its hits. add_hit must add the row, its cells
// and append the record as one unit; yield runs between hits.
class ResultSink {
public:
  virtual ~ResultSink() = default;
  virtual void add_hit(ResultHit hit) = 0;
  virtual void yield() = 0;
};

// The record of one hit as appended to the collected text (three CRLF lines).
Text make_hit_record(const Text& title, const Text& date, const Text& size, const Text& hash);

// Hit number `index` (1-based) read from the six objects, title cleaned.
ResultHit read_hit(const std::array<RegexObject, 6>& objects, int index);

// One hit per match of the title pattern, in page order.
void add_result_rows(const std::array<RegexObject, 6>& objects, ResultSink& sink);
