#pragma once
// The Win32 side of the text and path functions: the executable's path, file existence and
// upper-casing through the platform's case tables.

#include <string>
#include <string_view>

namespace ctl {

// The executable's full path, however long.
std::wstring executablePath();
// True for an existing file; false for a directory or a missing path.
bool fileExists(std::wstring_view path);
// A copy with every letter upper-cased by the platform (CharUpperBuffW).
std::wstring upperCase(std::wstring_view text);

} // namespace ctl
