#pragma once
// Text and number functions on UTF-16 code units. Portable: no platform headers. On platforms
// where wchar_t is wider than 16 bits, each element still holds one UTF-16 code unit.

#include <cstdint>
#include <string>
#include <string_view>

namespace ctl {

// Decimal digits with a leading minus sign for negative values; "0" for 0.
std::wstring decimalText(std::int32_t value);
// An optional sign, then decimal digits up to the first other character; 32-bit wrap-around;
// 0 without digits. Leading blanks are not skipped.
std::int32_t integerFromText(std::wstring_view text);
// The name up to and including its last ':', '\' or '/'; empty without any.
std::wstring_view filePath(std::wstring_view fileName);
// Without the leading (trailing) code units below U+0021.
std::wstring_view trimLeft(std::wstring_view text);
std::wstring_view trimRight(std::wstring_view text);
// Code unit by code unit as unsigned 16-bit values, then by length; 0 when equal.
int compareText(std::wstring_view a, std::wstring_view b);

} // namespace ctl
