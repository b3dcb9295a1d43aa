#pragma once
// What the edit field should hold as a user types into it through the keyboard map: the text,
// the selection and the key a combination would follow. Shared by the seeded sessions, which
// predict each step with it and check the program against it.

#include "app/keyboard_map.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

inline bool isMark(wchar_t c) {
    return (c >= 0x064B && c <= 0x065F) || c == 0x0670;
}
inline bool isBase(wchar_t c) {
    return (c >= 0x0620 && c <= 0x064A) || (c >= 0x066E && c <= 0x06D3);
}
inline bool isArabic(wchar_t c) {
    return c >= 0x0600 && c <= 0x06FF && !isMark(c);
}

inline std::vector<std::wstring_view> linesOf(std::wstring_view text) {
    std::vector<std::wstring_view> lines;
    for (std::size_t at = 0;;) {
        const std::size_t next = text.find(L"\r\n", at);
        lines.push_back(text.substr(at, next == text.npos ? text.npos : next - at));
        if (next == text.npos)
            return lines;
        at = next + 2;
    }
}

// Wine's shaping dies on a line holding an Arabic mark without a base letter before it and other
// Arabic in the line, after the mark or before it (a letter, then a digit, a Latin letter or a
// comma carrying the mark). A step that would make one is skipped; the sessions avoid a little
// more than was measured (a space before the mark too).
inline bool crashesWine(std::wstring_view text) {
    for (std::wstring_view line : linesOf(text)) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (!isMark(line[i]))
                continue;
            std::size_t base = i;
            while (base > 0 && isMark(line[base - 1]))
                --base;
            if ((base == 0 || !isBase(line[base - 1])) &&
                std::any_of(line.begin(), line.end(), isArabic))
                return true;
        }
    }
    return false;
}

// The code units of a text, for a failure message; long texts by their length and ends.
inline std::wstring units(std::wstring_view text) {
    if (text.size() > 48)
        return std::to_wstring(text.size()) + L" units: " + units(text.substr(0, 16)) + L"... " +
               units(text.substr(text.size() - 16));
    std::wstring shown;
    for (wchar_t c : text) {
        wchar_t hex[8];
        swprintf(hex, 8, L"%04X ", static_cast<unsigned>(c));
        shown += hex;
    }
    return shown.empty() ? L"(empty)" : shown;
}

// The field's text, its selection, and the key a combination would follow (0 once a key that
// ends combinations was released).
struct TypedText {
    std::wstring text;
    std::size_t start = 0;
    std::size_t end = 0;
    char16_t previous = 0;
    // Every text the field passed through since the caller last emptied it, also between the
    // deletion and the insertion of a combination.
    std::vector<std::wstring> passed;

    void replaceSelection(const std::wstring& by) {
        text.erase(start, end - start);
        text.insert(start, by);
        start = end = start + by.size();
        passed.push_back(text);
    }
    bool breakBefore(std::size_t at) const {
        return at >= 2 && text.compare(at - 2, 2, L"\r\n") == 0;
    }
    bool breakAfter(std::size_t at) const { return text.compare(at, 2, L"\r\n") == 0; }
    std::size_t lineStart(std::size_t at) const {
        const std::size_t found = at < 2 ? text.npos : text.rfind(L"\r\n", at - 2);
        return found == text.npos ? 0 : found + 2;
    }
    std::size_t lineEnd(std::size_t at) const {
        return std::min(text.find(L"\r\n", at), text.size());
    }
    std::size_t lineOf(std::size_t at) const { return linesOf(text.substr(0, at)).size() - 1; }
    std::wstring selected() const { return text.substr(start, end - start); }

    // A typed character passes the keyboard map: a combination replaces the unit before the caret
    // when that is what its first key made; at the start of the text or over a selection its
    // character is inserted and nothing deleted.
    void typeCharacter(wchar_t typed) {
        wchar_t inserted = static_cast<wchar_t>(app::mapKey(typed));
        if (const auto combination = app::combinationOf(previous, typed)) {
            if (start == end && start > 0 && combination->follows(text[start - 1])) {
                --start;
                passed.push_back(std::wstring(text).erase(start, 1));
                inserted = static_cast<wchar_t>(combination->result);
            } else if (start != end || start == 0) {
                inserted = static_cast<wchar_t>(combination->result);
            }
        }
        previous = typed;
        replaceSelection(std::wstring(1, inserted));
    }
    // Types keys as the driver sends them: Shift is held over a run of characters needing it.
    void type(std::wstring_view keys) {
        bool shift = false;
        for (wchar_t c : keys) {
            const SHORT scan = VkKeyScanW(c);
            const bool needsShift = (HIBYTE(scan) & 1) != 0;
            if (shift && !needsShift)
                previous = 0;
            shift = needsShift;
            typeCharacter(c);
            if (app::releaseEndsCombination(LOBYTE(scan)))
                previous = 0;
        }
        if (shift)
            previous = 0;
    }
    void enter() {
        replaceSelection(L"\r\n");
        previous = 0;
    }
    void backspace() {
        if (start == end && start > 0)
            start -= breakBefore(start) ? 2 : 1;
        replaceSelection({});
        previous = 0;
    }
    void deleteForward() {
        if (start == end && end < text.size())
            end += breakAfter(end) ? 2 : 1;
        replaceSelection({});
        previous = 0;
    }
    void moveTo(std::size_t at) {
        start = end = at;
        previous = 0;
    }
    void left() { moveTo(start - std::min<std::size_t>(start, breakBefore(start) ? 2 : 1)); }
    void right() {
        moveTo(end + std::min<std::size_t>(text.size() - end, breakAfter(end) ? 2 : 1));
    }
};

} // namespace e2e
