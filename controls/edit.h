#pragma once
// Edit fields: single- and multi-line EDIT controls whose typed characters pass through onChar.

#include "controls/control.h"

#include <cstdint>

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
} // namespace editopt

const ActionTable& editActions() noexcept;
Control* newEdit(Control& parent, EditOptions options);

} // namespace ctl
