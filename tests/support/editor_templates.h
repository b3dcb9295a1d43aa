#pragma once
// The editor's own menu and toolbar templates, as the tests of the layer build them.

#include <array>
#include <string_view>

namespace editor_templates {

inline constexpr std::array<std::wstring_view, 42> kMainMenu = {L"File",
                                                                L"(",
                                                                L"New\tCtrl+N",
                                                                L"Open...\tCtrl+O",
                                                                L"Save\tCtrl+S",
                                                                L"Save as...",
                                                                L"-",
                                                                L"Exit",
                                                                L")",
                                                                L"Edit",
                                                                L"(",
                                                                L"Undo",
                                                                L"-",
                                                                L"Cut\tCtrl+X",
                                                                L"Copy\tCtrl+C",
                                                                L"Paste",
                                                                L"Delete",
                                                                L"-",
                                                                L"Select All\tCtrl+A",
                                                                L")",
                                                                L"View",
                                                                L"(",
                                                                L"Text Size",
                                                                L"(",
                                                                L"Increase\tCtrl++",
                                                                L"Decrease\tCtrl+-",
                                                                L"-",
                                                                L"Normal\tCtrl+0",
                                                                L")",
                                                                L"Text Align",
                                                                L"(",
                                                                L"+!Right",
                                                                L"-!Center",
                                                                L")",
                                                                L")",
                                                                L"Help",
                                                                L"(",
                                                                L"Help Topics",
                                                                L"-",
                                                                L"About Dawatik",
                                                                L")",
                                                                L""};

inline constexpr std::array<std::wstring_view, 16> kToolbar = {
    L"-", L" ", L" ",   L" ",   L"-", L" ", L" ", L" ",
    L" ", L"-", L"-! ", L"+! ", L"-", L" ", L" ", L"-"};

inline constexpr std::array<int, 16> kToolbarImages = {-2, 0,  1, 2,  -2, 3, 4, 5,
                                                       6,  -2, 9, 10, -2, 7, 8, -2};

inline constexpr std::array<std::wstring_view, 16> kToolbarTips = {
    L"",       L"New", L"Open",   L"Save",  L"", L"Cut",  L"Copy",  L"Paste",
    L"Delete", L"",    L"center", L"right", L"", L"Help", L"About", L""};

} // namespace editor_templates
