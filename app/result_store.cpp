#include "app/result_store.h"

#include <string>
#include <utility>

void ResultStore::add(ResultHit hit) {
  collected_ += hit.record;
  hit.cells[kColNumber] = std::to_string(rows_.size() + 1);
  rows_.push_back(std::move(hit.cells));
}

void ResultStore::clear_rows() {
  rows_.clear();
  rows_.shrink_to_fit();
}

const Text& ResultStore::cell(int row, int column) const {
  static const Text kNone;
  if (row < 0 || row >= row_count() || column < 0 || column >= kColumnCount) return kNone;
  return rows_[static_cast<size_t>(row)][static_cast<size_t>(column)];
}
