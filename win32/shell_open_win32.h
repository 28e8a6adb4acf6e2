#pragma once
// Handing a target (a magnet link, a file) to the system's registered program.
#include <string>

#include "text/text.h"

// ShellExecute with no owner window, the verb "open", no parameters, no
// working directory and SW_SHOWNORMAL; its result is not looked at.
void open_with_shell(const Text& target);
void open_with_shell(const std::wstring& target);

// What open_with_shell calls with the target. Tests put a recorder here so
// that nothing is started; returns the one it replaced.
using ShellOpener = void (*)(const std::wstring& target);
ShellOpener replace_shell_opener(ShellOpener opener);
