#pragma once
// Files beside the program (the export file, the settings file), and
// replacing a file's contents safely.
#include <string>

#include "text/text.h"

// The folder that holds the program's executable, a backslash and `name`;
// empty when the executable's path cannot be had.
std::wstring program_file_path(const std::wstring& name);

// Makes the file at `path` hold exactly `bytes`. The bytes go to a new file
// beside it first, which then takes the old file's place in one step, so a
// failure at any point (a file that cannot be written, a full disk) leaves
// the old file as it was and no stray file behind. Returns whether the file
// now holds the bytes.
bool replace_file_contents(const std::wstring& path, const Text& bytes);
