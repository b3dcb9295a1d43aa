#pragma once
// What the whole program should show and keep, as a user's session goes on: the document (its
// text, file name, modified flag and status bar), the view and Setting.ini, the clipboard, the
// files of the folder, and what a recovery copy may hold should the program be killed.

#include "typing_model.h"

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace e2e {

using Clock = std::chrono::steady_clock;

inline constexpr wchar_t kGreeting[] = L" Dawatik 1.4";
// More than the program puts into the field in one piece: a document that arrives in slices.
inline constexpr std::size_t kLargeDocument = 8192;

// The number at the start of a text: a sign, then digits up to the first other unit, wrapping in
// 32 bits as the program's own reading does; 0 without digits.
inline int leadingNumber(std::wstring_view text) {
    std::size_t at = 0;
    const bool negative = !text.empty() && text[0] == L'-';
    if (!text.empty() && (text[0] == L'-' || text[0] == L'+'))
        ++at;
    std::uint32_t value = 0;
    for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at)
        value = value * 10 + static_cast<std::uint32_t>(text[at] - L'0');
    return static_cast<int>(negative ? 0u - value : value);
}

// A document file's text as the program shows it once opened: read from after the mark (or,
// without it, from the first byte), an odd last byte dropped, each line ended by CR LF.
inline std::wstring openedText(const std::string& bytes) {
    const bool marked = bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xFE") == 0;
    std::wstring units;
    for (std::size_t at = marked ? 2 : 0; at + 1 < bytes.size(); at += 2)
        units.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[at]) |
                                             static_cast<unsigned char>(bytes[at + 1]) << 8));
    std::wstring text;
    bool lineOpen = false;
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (units[i] == L'\r' || units[i] == L'\n') {
            if (units[i] == L'\r' && i + 1 < units.size() && units[i + 1] == L'\n')
                ++i;
            text += L"\r\n";
            lineOpen = false;
        } else {
            text.push_back(units[i]);
            lineOpen = true;
        }
    }
    return lineOpen ? text + L"\r\n" : text;
}

struct ProgramModel {
    // ---- the document
    TypedText edit;
    // Unknown after an edit that left the text as it was (the field may or may not report it).
    std::optional<bool> modified = false;
    // A change since the document was last saved, opened or emptied: a copy follows it.
    std::optional<bool> copyDue = false;
    std::wstring fileName;
    std::wstring status = kGreeting;
    // Every text the document held since it was last saved, opened or emptied.
    std::set<std::size_t> heldSinceSave{std::hash<std::wstring>{}(std::wstring())};
    // The text a restore put in, until a save or an emptying: on the disk as being restored
    // until a copy of a later change is written.
    std::optional<std::wstring> restored;
    Clock::time_point lastChange{};
    Clock::time_point lastUnmodified{};

    // ---- the view, and Setting.ini's section General as the user set it
    std::wstring fontName;
    std::wstring sizeText = L"72";
    int height = 72;
    bool centered = false;
    std::map<std::wstring, std::wstring> settings;

    // ---- outside the program
    std::optional<std::wstring> clipboard;
    // The document files of the folder by name.
    std::map<std::wstring, std::string> files;

    static std::size_t hashOf(const std::wstring& text) { return std::hash<std::wstring>{}(text); }

    // The next New, Open or close asks about unsaved changes (unknown: either may be right).
    std::optional<bool> asks() const {
        if (fileName.empty() && ctlBlank(edit.text))
            return false;
        return modified;
    }
    static bool ctlBlank(std::wstring_view text) {
        return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c <= L' '; });
    }

    // The field's text went through `edit.passed`, typed, pasted or undone; `changed` when it
    // ended other than it was.
    void edited(bool changed) {
        for (const std::wstring& text : edit.passed)
            heldSinceSave.insert(hashOf(text));
        edit.passed.clear();
        if (changed) {
            modified = copyDue = true;
            lastChange = Clock::now();
        } else {
            if (modified != true)
                modified.reset();
            if (copyDue != true)
                copyDue.reset();
        }
    }
    // Saved, opened, emptied or discarded: nothing unsaved, no copy.
    void unmodified() {
        modified = copyDue = false;
        restored.reset();
        heldSinceSave = {hashOf(edit.text)};
        lastUnmodified = Clock::now();
    }
    void show(const std::wstring& text, const std::wstring& path) {
        edit.text = text;
        edit.start = edit.end = 0;
        fileName = path;
    }
    // The document is written to the file `name` of the folder.
    void save(const std::wstring& name) {
        files[name] = "\xFF\xFE" + std::string(reinterpret_cast<const char*>(edit.text.data()),
                                               edit.text.size() * 2);
    }
    // A new start of the program: an empty, untitled document with the stored view.
    void started(const std::wstring& shownFont, const std::wstring& storedSize) {
        edit = {};
        show({}, {});
        modified = copyDue = false;
        restored.reset();
        heldSinceSave = {hashOf({})};
        status = kGreeting;
        fontName = shownFont;
        sizeText = storedSize;
        height = leadingNumber(storedSize);
        centered = settings.count(L"TextAlign") && settings.at(L"TextAlign") == L"Center";
    }
};

} // namespace e2e
