#pragma once
// The editor's commands in one table: each row gives a command's menu caption and shortcut and,
// where it has one, its toolbar picture and tip. The menu and toolbar templates, the item index
// of each command in the menu and its entry in the toolbar are all worked out from the table, so
// adding a command is adding a row. Portable data, shared with the tests.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace app {

enum class Command {
    New,
    Open,
    Save,
    SaveAs,
    Exit,
    Undo,
    Cut,
    Copy,
    Paste,
    Delete,
    SelectAll,
    Increase,
    Decrease,
    Normal,
    Right,
    Center,
    HelpTopics,
    About,
};

// One line of the main menu, from top to bottom: a pop-up (its lines follow up to its end), a
// separator or a command.
struct MenuLine {
    enum class Kind { Popup, End, Separator, Item };
    Kind kind;
    // As the menu template spells it: check and radio prefixes, the caption, then after a tab
    // the shortcut as shown.
    std::wstring_view text;
    Command command = Command::New;
    // The key that runs the command with Ctrl (a virtual-key code); 0: none.
    std::uint16_t ctrlKey = 0;
    // The command's toolbar picture in the image strip, and its tip; -1: no button.
    int image = -1;
    std::wstring_view tip;
};

namespace line {
constexpr MenuLine popup(std::wstring_view caption) {
    return {MenuLine::Kind::Popup, caption, Command::New, 0, -1, {}};
}
constexpr MenuLine end() {
    return {MenuLine::Kind::End, L")", Command::New, 0, -1, {}};
}
constexpr MenuLine separator() {
    return {MenuLine::Kind::Separator, L"-", Command::New, 0, -1, {}};
}
constexpr MenuLine item(Command command, std::wstring_view text, std::uint16_t ctrlKey = 0,
                        int image = -1, std::wstring_view tip = {}) {
    return {MenuLine::Kind::Item, text, command, ctrlKey, image, tip};
}
} // namespace line

// Keys that are not characters: the keypad's plus and minus.
inline constexpr std::uint16_t kKeypadPlus = 0x6B;
inline constexpr std::uint16_t kKeypadMinus = 0x6D;

// Undo, Paste and Delete have no shortcut: inside the edit field the platform's own keys do them.
inline constexpr std::array kCommandTable = {
    line::popup(L"File"),
    line::item(Command::New, L"New\tCtrl+N", 'N', 0, L"New"),
    line::item(Command::Open, L"Open...\tCtrl+O", 'O', 1, L"Open"),
    line::item(Command::Save, L"Save\tCtrl+S", 'S', 2, L"Save"),
    line::item(Command::SaveAs, L"Save as..."),
    line::separator(),
    line::item(Command::Exit, L"Exit"),
    line::end(),
    line::popup(L"Edit"),
    line::item(Command::Undo, L"Undo"),
    line::separator(),
    line::item(Command::Cut, L"Cut\tCtrl+X", 'X', 3, L"Cut"),
    line::item(Command::Copy, L"Copy\tCtrl+C", 'C', 4, L"Copy"),
    line::item(Command::Paste, L"Paste", 0, 5, L"Paste"),
    line::item(Command::Delete, L"Delete", 0, 6, L"Delete"),
    line::separator(),
    line::item(Command::SelectAll, L"Select All\tCtrl+A", 'A'),
    line::end(),
    line::popup(L"View"),
    line::popup(L"Text Size"),
    line::item(Command::Increase, L"Increase\tCtrl++", kKeypadPlus),
    line::item(Command::Decrease, L"Decrease\tCtrl+-", kKeypadMinus),
    line::separator(),
    line::item(Command::Normal, L"Normal\tCtrl+0", '0'),
    line::end(),
    line::popup(L"Text Align"),
    line::item(Command::Right, L"+!Right", 0, 10, L"right"),
    line::item(Command::Center, L"-!Center", 0, 9, L"center"),
    line::end(),
    line::end(),
    line::popup(L"Help"),
    line::item(Command::HelpTopics, L"Help Topics", 0, 7, L"Help"),
    line::separator(),
    line::item(Command::About, L"About Dawatik", 0, 8, L"About"),
    line::end(),
};

// The toolbar from left to right: the commands with buttons, and separators (none).
inline constexpr std::array<std::optional<Command>, 16> kToolbarStrip = {
    std::nullopt,    Command::New,        Command::Open,   Command::Save,
    std::nullopt,    Command::Cut,        Command::Copy,   Command::Paste,
    Command::Delete, std::nullopt,        Command::Center, Command::Right,
    std::nullopt,    Command::HelpTopics, Command::About,  std::nullopt};

namespace detail {

constexpr const MenuLine& rowOf(Command command) {
    return *std::find_if(kCommandTable.begin(), kCommandTable.end(), [command](const MenuLine& l) {
        return l.kind == MenuLine::Kind::Item && l.command == command;
    });
}

// A pop-up is two template entries: its caption and the "(" that opens it.
constexpr std::size_t menuTemplateSize() {
    std::size_t size = 1; // the empty entry that ends the template
    for (const MenuLine& l : kCommandTable)
        size += l.kind == MenuLine::Kind::Popup ? 2 : 1;
    return size;
}

// Radio items of the menu are the toolbar's check buttons, down where the menu is checked.
constexpr std::wstring_view buttonText(const MenuLine& row) {
    if (row.text.starts_with(L"+!"))
        return L"+! ";
    if (row.text.starts_with(L"-!"))
        return L"-! ";
    return L" ";
}

} // namespace detail

// The menu template of the main menu.
inline constexpr auto kMainMenuTemplate = [] {
    std::array<std::wstring_view, detail::menuTemplateSize()> entries{};
    std::size_t next = 0;
    for (const MenuLine& l : kCommandTable) {
        entries[next++] = l.text;
        if (l.kind == MenuLine::Kind::Popup)
            entries[next++] = L"(";
    }
    entries[next] = L"";
    return entries;
}();

// The toolbar template, its pictures (separators: unused) and tips, one per toolbar entry.
inline constexpr auto kToolbarTemplate = [] {
    std::array<std::wstring_view, kToolbarStrip.size()> entries{};
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i] = kToolbarStrip[i] ? detail::buttonText(detail::rowOf(*kToolbarStrip[i])) : L"-";
    return entries;
}();
inline constexpr auto kToolbarImages = [] {
    std::array<int, kToolbarStrip.size()> images{};
    for (std::size_t i = 0; i < images.size(); ++i)
        images[i] = kToolbarStrip[i] ? detail::rowOf(*kToolbarStrip[i]).image : -2;
    return images;
}();
inline constexpr auto kToolbarTips = [] {
    std::array<std::wstring_view, kToolbarStrip.size()> tips{};
    for (std::size_t i = 0; i < tips.size(); ++i)
        tips[i] = kToolbarStrip[i] ? detail::rowOf(*kToolbarStrip[i]).tip : L"";
    return tips;
}();

// The command's item index in the main menu (pre-order: pop-ups and separators count).
constexpr int menuItemOf(Command command) {
    int index = 0;
    for (const MenuLine& l : kCommandTable) {
        if (l.kind == MenuLine::Kind::Item && l.command == command)
            return index;
        if (l.kind != MenuLine::Kind::End)
            ++index;
    }
    return -1;
}

// The command's entry in the toolbar; -1 when it has no button.
constexpr int toolbarEntryOf(Command command) {
    for (std::size_t i = 0; i < kToolbarStrip.size(); ++i)
        if (kToolbarStrip[i] == command)
            return static_cast<int>(i);
    return -1;
}

// Every command in the strip has its picture in the table, and every picture is in the strip.
static_assert([] {
    for (const MenuLine& l : kCommandTable)
        if (l.kind == MenuLine::Kind::Item && (l.image >= 0) != (toolbarEntryOf(l.command) >= 0))
            return false;
    return true;
}());

} // namespace app
