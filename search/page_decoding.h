#pragma once
// Turning a fetched result page (UTF-8, percent-escaped) into the program's
// code page 936 text. Texts are read up to their first zero byte, as a C
// string would be; no result ever holds a zero byte.
#include <optional>
#include <string>

#include "text/text.h"

// UTF-16 buffer: the code units of a converted text, without the terminating
// zero (std::u16string keeps one after its data()). An empty buffer stands for
// the empty text and for a conversion that failed alike.
using Utf16Buffer = std::u16string;

// Undoes every "%" escape by the digit-table rule (a character that is not a
// hex digit counts -2, a place past the end counts 0, the low 8 bits are the
// byte, a zero byte is dropped). When `convert_from_utf8` is true the result is
// then read as UTF-8 and written in code page 936. Omitted means false.
Text decode_page_text(const Text& text, std::optional<bool> convert_from_utf8 = std::nullopt);

// UTF-8 to code page 936: invalid UTF-8 gives U+FFFD and so '?', as does every
// character that code page 936 lacks.
Text utf8_to_gbk(const Text& text);

// `text` read in `code_page` (UTF-8 when omitted) as UTF-16.
Utf16Buffer text_to_utf16(const Text& text, std::optional<unsigned> code_page = std::nullopt);

// `buffer` (up to its first zero unit) written in `code_page`. The program's
// texts are code page 936 whatever the system's ANSI code page is, so an
// omitted code page, or 0 (the ANSI code page), means 936.
Text utf16_to_text(const Utf16Buffer& buffer, std::optional<unsigned> code_page = std::nullopt);
