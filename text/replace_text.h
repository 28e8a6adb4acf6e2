#pragma once
// Replacing one text by another inside a code page 936 text. The search moves
// one character at a time (two bytes from a byte of 0x80 up), so a find text
// is only ever found where a character starts.
#include <cstddef>
#include <optional>

#include "text/text.h"

// Replaces `find` from byte offset `start_offset` on, at most `count` times
// (all when omitted, none when 0 or less); the bytes before the offset stay.
// Unless `case_sensitive`, single-byte ASCII letters match either case.
// An empty text or find text, or an offset at or past the end, changes nothing.
Text replace_text(const Text& text, const Text& find, const Text& replacement, size_t start_offset,
                  std::optional<int> count, bool case_sensitive);
