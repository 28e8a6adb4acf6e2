#pragma once
// What the window shows and has collected: the rows of the result list and
// the collected text of every hit since start-up. Kept by the window's thread;
// the list draws its cells from here (a virtual list), and the export writes
// the collected text.
#include <vector>

#include "search/result_rows.h"
#include "text/text.h"

class ResultStore {
public:
  // Adds the hit's row at the end, numbered with the row count once it is
  // added, and appends its record to the collected text.
  void add(ResultHit hit);
  // Removes every row; the collected text stays.
  void clear_rows();

  int row_count() const { return static_cast<int>(rows_.size()); }
  // The text of one cell; the empty text for a row or column that does not exist.
  const Text& cell(int row, int column) const;
  // Every record appended since start-up, in order; never cleared.
  const Text& collected_text() const { return collected_; }

private:
  std::vector<std::array<Text, kColumnCount>> rows_;
  Text collected_;
};
