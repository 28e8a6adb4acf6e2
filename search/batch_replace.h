#pragma once
// Replacing texts in a code page 936 text, up to five find/replace pairs in a
// row. Positions count bytes; the search moves one character at a time, so a
// find text is only ever found where a character starts.
#include <optional>

#include "text/replace_text.h"
#include "text/text.h"

// Each pair works on the result of the pair before it. `count`: how many
// replacements each pair may make, all when omitted (0 or less: none).
// `start`: 1-based byte position where each pair's work begins, 1 when
// omitted or 0 or less. `case_sensitive`: false when omitted; then ASCII
// letters match either case. A find text that is empty changes nothing, so the
// pairs left out change nothing.
Text batch_replace(const Text& source, std::optional<int> count, std::optional<int> start,
                   std::optional<bool> case_sensitive, const Text& find1, const Text& replace1,
                   const Text& find2 = Text(), const Text& replace2 = Text(),
                   const Text& find3 = Text(), const Text& replace3 = Text(),
                   const Text& find4 = Text(), const Text& replace4 = Text(),
                   const Text& find5 = Text(), const Text& replace5 = Text());
