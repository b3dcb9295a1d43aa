#pragma once
// Toolbar templates: one wide string per button, with prefixes for separators, check buttons,
// radio groups and drop-down buttons, plus a parallel array of image indexes.
// Portable: no platform headers.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ctl {

// Entries read from the first to the last.
using ToolbarTemplate = std::span<const std::wstring_view>;

// Button command identifiers of all toolbars come from one counter that starts here.
inline constexpr int kFirstToolbarCommandId = 100;

// Button styles and states, valued as the platform's toolbar takes them.
namespace tbbutton {
inline constexpr std::uint8_t kSeparator = 0x01;
inline constexpr std::uint8_t kCheck = 0x02;
inline constexpr std::uint8_t kGroup = 0x04;
inline constexpr std::uint8_t kDropDown = 0x08;
inline constexpr std::uint8_t kAutoSize = 0x10;
inline constexpr std::uint8_t kChecked = 0x01;
inline constexpr std::uint8_t kEnabled = 0x04;
} // namespace tbbutton

struct ToolbarButton {
    int commandId = 0;
    // Index into the image list; -1: none.
    int image = -1;
    std::uint8_t style = 0;
    std::uint8_t state = 0;
    // Empty: an image-only button.
    std::wstring text;
};

// One button per entry, numbered from `nextCommandId` (separators too), which is advanced past
// them. Entry i takes image i; entries past the images continue from the first image, counting
// the buttons before them; without images no button has one.
std::vector<ToolbarButton> parseToolbarTemplate(ToolbarTemplate entries,
                                                std::span<const int> images,
                                                std::uint8_t defaultStyle, int& nextCommandId);

} // namespace ctl
