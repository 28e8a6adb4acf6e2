#pragma once
// Files beside the program's executable (the export file, the settings file).
#include <string>

// The executable's folder, a backslash and `name`; empty when the
// executable's path cannot be had.
std::wstring program_file_path(const std::wstring& name);
