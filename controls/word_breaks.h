#pragma once
// Words as the classic edit field knows them: a space delimits words, and a line break (CR LF,
// or CR CR LF) is a word of its own. Where a wrapped line may end, where Ctrl+Left and
// Ctrl+Right stop and what a double click selects all follow from where words start.
// Portable: no platform headers.

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace ctl {

constexpr bool isWordDelimiter(wchar_t c) noexcept {
    return c == L' ';
}

constexpr bool isLineBreakUnit(wchar_t c) noexcept {
    return c == L'\r' || c == L'\n';
}

// True where a word begins: a unit that is not a space, at the start of the text or after a
// space or a line break; or the first unit of a line break.
constexpr bool startsWord(std::wstring_view text, std::size_t at) noexcept {
    if (at >= text.size() || isWordDelimiter(text[at]))
        return false;
    if (at == 0)
        return true;
    const wchar_t before = text[at - 1];
    if (isLineBreakUnit(text[at]))
        return before != L'\r';
    return isWordDelimiter(before) || isLineBreakUnit(before);
}

// The last start of a word before `at`; 0 when there is none.
constexpr std::size_t wordStartBefore(std::wstring_view text, std::size_t at) noexcept {
    for (std::size_t p = std::min(at, text.size()); p-- > 0;) {
        if (startsWord(text, p))
            return p;
    }
    return 0;
}

// The first start of a word at or after `at`, never the very start of the text (a word that
// begins there is the one being left); the end of the text when there is none.
constexpr std::size_t wordStartFrom(std::wstring_view text, std::size_t at) noexcept {
    for (std::size_t p = std::max<std::size_t>(at, 1); p < text.size(); ++p) {
        if (startsWord(text, p))
            return p;
    }
    return text.size();
}

} // namespace ctl
