#pragma once
// What a search worker may do to the window that shows its hits. Each call is
// carried out whole on the window's thread, one at a time, so another worker's
// call falls before or after it, never inside; the window's thread never waits
// on a worker.
#include <vector>

#include "search/result_rows.h"
#include "text/text.h"

class ResultWindow {
public:
  virtual ~ResultWindow() = default;
  // Removes every row of the result list (the collected text stays).
  virtual void clear_list() = 0;
  virtual void set_status(const Text& text) = 0;
  // Adds the hits in order at the end of the list, each one a unit: its row,
  // numbered with the list's row count once it is added, its cells and its
  // record appended to the collected text.
  virtual void add_hits(std::vector<ResultHit> hits) = 0;
  virtual int row_count() = 0;
};
