#pragma once
// The option sets of the edit, combo-box, toolbar and file-dialog constructors, mapped to window
// style (or dialog flag) bits through tables. Portable: no platform headers.

#include <cstdint>
#include <span>

namespace ctl {

using EditOptions = std::uint16_t;
namespace editopt {
inline constexpr EditOptions kNoHorizontalScroll = 1 << 0;
inline constexpr EditOptions kNoVerticalScroll = 1 << 1;
inline constexpr EditOptions kLowerCase = 1 << 2;
inline constexpr EditOptions kMultiLine = 1 << 3;
inline constexpr EditOptions kKeepSelection = 1 << 4;
inline constexpr EditOptions kOemConvert = 1 << 5;
inline constexpr EditOptions kPassword = 1 << 6;
inline constexpr EditOptions kReadOnly = 1 << 7;
inline constexpr EditOptions kUpperCase = 1 << 8;
inline constexpr EditOptions kWantReturn = 1 << 9;
inline constexpr EditOptions kWantTab = 1 << 10;
inline constexpr EditOptions kDigitsOnly = 1 << 11;
// Words delimited by spaces alone, as the classic edit field has them: no style; the field gets
// a word-break procedure of the layer's when it is made, for its whole life.
inline constexpr EditOptions kSpaceDelimitedWords = 1 << 12;
} // namespace editopt

using ComboOptions = std::uint16_t;
namespace comboopt {
inline constexpr ComboOptions kDropDownList = 1 << 0;
inline constexpr ComboOptions kNoHorizontalScroll = 1 << 1;
inline constexpr ComboOptions kShowDisabledScrollBar = 1 << 2;
inline constexpr ComboOptions kLowerCase = 1 << 3;
inline constexpr ComboOptions kNoIntegralHeight = 1 << 4;
inline constexpr ComboOptions kOemConvert = 1 << 5;
inline constexpr ComboOptions kSorted = 1 << 6;
inline constexpr ComboOptions kUpperCase = 1 << 7;
inline constexpr ComboOptions kOwnerDrawFixed = 1 << 8;
inline constexpr ComboOptions kOwnerDrawVariable = 1 << 9;
inline constexpr ComboOptions kSimple = 1 << 10;
} // namespace comboopt

using ToolbarOptions = std::uint8_t;
namespace tbopt {
inline constexpr ToolbarOptions kTextRight = 1 << 0;
inline constexpr ToolbarOptions kTextBelow = 1 << 1;
inline constexpr ToolbarOptions kFlat = 1 << 2;
inline constexpr ToolbarOptions kTransparent = 1 << 3;
inline constexpr ToolbarOptions kWrapping = 1 << 4;
inline constexpr ToolbarOptions kNoDivider = 1 << 5;
inline constexpr ToolbarOptions kThreeD = 1 << 6;
} // namespace tbopt

using FileDialogOptions = std::uint16_t;
namespace dialogopt {
inline constexpr FileDialogOptions kCreatePrompt = 1 << 0;
inline constexpr FileDialogOptions kExtensionDifferent = 1 << 1;
inline constexpr FileDialogOptions kFileMustExist = 1 << 2;
inline constexpr FileDialogOptions kHideReadOnly = 1 << 3;
inline constexpr FileDialogOptions kNoChangeDir = 1 << 4;
inline constexpr FileDialogOptions kNoDereferenceLinks = 1 << 5;
inline constexpr FileDialogOptions kAllowMultiSelect = 1 << 6;
inline constexpr FileDialogOptions kNoNetworkButton = 1 << 7;
inline constexpr FileDialogOptions kNoReadOnlyReturn = 1 << 8;
inline constexpr FileDialogOptions kOverwritePrompt = 1 << 9;
inline constexpr FileDialogOptions kPathMustExist = 1 << 10;
inline constexpr FileDialogOptions kReadOnlyChecked = 1 << 11;
inline constexpr FileDialogOptions kNoValidate = 1 << 12;
// Existing files and paths to open; asks before replacing; no read-only box.
inline constexpr FileDialogOptions kDefault =
    kFileMustExist | kHideReadOnly | kOverwritePrompt | kPathMustExist;
} // namespace dialogopt

struct OptionBits {
    std::uint32_t bits;
    // An inverted entry adds its bits when its option is absent.
    bool inverted = false;
};

// Walks the options from bit 0 upward over `table` and collects the bits they select.
constexpr std::uint32_t mapOptions(std::uint32_t options, std::span<const OptionBits> table) {
    std::uint32_t result = 0;
    for (std::size_t bit = 0; bit < table.size(); ++bit) {
        const bool present = (options >> bit) & 1u;
        if (present != table[bit].inverted)
            result |= table[bit].bits;
    }
    return result;
}

} // namespace ctl
