#include "search/batch_replace.h"

Text batch_replace(const Text& source, std::optional<int> count, std::optional<int> start,
                   std::optional<bool> case_sensitive, const Text& find1, const Text& replace1,
                   const Text& find2, const Text& replace2, const Text& find3, const Text& replace3,
                   const Text& find4, const Text& replace4, const Text& find5, const Text& replace5) {
  const size_t start_offset = (start && *start > 1) ? static_cast<size_t>(*start) - 1 : 0;
  const bool exact = case_sensitive.value_or(false);
  Text r = replace_text(source, find1, replace1, start_offset, count, exact);
  r = replace_text(r, find2, replace2, start_offset, count, exact);
  r = replace_text(r, find3, replace3, start_offset, count, exact);
  r = replace_text(r, find4, replace4, start_offset, count, exact);
  return replace_text(r, find5, replace5, start_offset, count, exact);
}
