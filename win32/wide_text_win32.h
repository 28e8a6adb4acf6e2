#pragma once
// Texts at the Win32 boundary: the program's code page 936 bytes to and from
// the UTF-16 of the wide interfaces, whatever the system's ANSI code page is.
#include <string>
#include <string_view>

#include "text/text.h"

std::wstring to_wide(std::string_view text);
Text from_wide(std::wstring_view text);
