#pragma once
// The editor's vocabulary: the main menu and toolbar templates with the item and button
// positions the commands are wired to. Portable data, shared with the tests.

#include <array>
#include <string_view>

namespace app {

// clang-format off
inline constexpr std::array<std::wstring_view, 42> kMainMenuTemplate = {
    L"File", L"(",
        L"New\tCtrl+N", L"Open...\tCtrl+O", L"Save\tCtrl+S", L"Save as...", L"-", L"Exit",
    L")",
    L"Edit", L"(",
        L"Undo", L"-", L"Cut\tCtrl+X", L"Copy\tCtrl+C", L"Paste", L"Delete", L"-",
        L"Select All\tCtrl+A",
    L")",
    L"View", L"(",
        L"Text Size", L"(",
            L"Increase\tCtrl++", L"Decrease\tCtrl+-", L"-", L"Normal\tCtrl+0",
        L")",
        L"Text Align", L"(",
            L"+!Right", L"-!Center",
        L")",
    L")",
    L"Help", L"(",
        L"Help Topics", L"-", L"About Dawatik",
    L")",
    L""};
// clang-format on

// Item indexes of the menu commands (pre-order numbering over the whole menu tree).
namespace item {
inline constexpr int kNew = 1;
inline constexpr int kOpen = 2;
inline constexpr int kSave = 3;
inline constexpr int kSaveAs = 4;
inline constexpr int kExit = 6;
inline constexpr int kUndo = 8;
inline constexpr int kCut = 10;
inline constexpr int kCopy = 11;
inline constexpr int kPaste = 12;
inline constexpr int kDelete = 13;
inline constexpr int kSelectAll = 15;
inline constexpr int kIncrease = 18;
inline constexpr int kDecrease = 19;
inline constexpr int kNormal = 21;
inline constexpr int kRight = 23;
inline constexpr int kCenter = 24;
inline constexpr int kHelpTopics = 26;
inline constexpr int kAbout = 28;
} // namespace item

// One text per toolbar entry: " " an image-only button, "-" a separator, "-! " and "+! " the
// two alignment check buttons of one group (up and down).
inline constexpr std::array<std::wstring_view, 16> kToolbarTemplate = {
    L"-", L" ", L" ",   L" ",   L"-", L" ", L" ", L" ",
    L" ", L"-", L"-! ", L"+! ", L"-", L" ", L" ", L"-"};

// Pictures of the strip, per entry (separators: unused).
inline constexpr std::array<int, 16> kToolbarImages = {-2, 0,  1, 2,  -2, 3, 4, 5,
                                                       6,  -2, 9, 10, -2, 7, 8, -2};

inline constexpr std::array<std::wstring_view, 16> kToolbarTips = {
    L"",       L"New", L"Open",   L"Save",  L"", L"Cut",  L"Copy",  L"Paste",
    L"Delete", L"",    L"center", L"right", L"", L"Help", L"About", L""};

// Toolbar entries by index.
namespace button {
inline constexpr int kNew = 1;
inline constexpr int kOpen = 2;
inline constexpr int kSave = 3;
inline constexpr int kCut = 5;
inline constexpr int kCopy = 6;
inline constexpr int kPaste = 7;
inline constexpr int kDelete = 8;
inline constexpr int kCenter = 10;
inline constexpr int kRight = 11;
inline constexpr int kHelp = 13;
inline constexpr int kAbout = 14;
} // namespace button

} // namespace app
