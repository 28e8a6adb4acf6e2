#pragma once
// The program's text: bytes in code page 936 (a double-byte character counts two).
// Lengths and positions count bytes. An empty text and a missing text are the same.
#include <string>

using Text = std::string;

// Narrow string literals are compiled into code page 936 (-fexec-charset=GBK),
// so a literal "搜索" in a source file is already a Text. Use u8"..." for UTF-8.
