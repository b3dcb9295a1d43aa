#pragma once
// Combo boxes: drop-down lists and editable drop-downs whose selection change reaches onChange
// (or onSelChange) once the box has finished changing its selection.

#include "controls/control.h"

#include <cstdint>

namespace ctl {

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

// The notification code the box posts to itself after a selection change.
inline constexpr UINT kComboSelectionChanged = 15;

const ActionTable& comboBoxActions() noexcept;
// The first item added to an empty box without a selection becomes its selection.
Control* newComboBox(Control& parent, ComboOptions options);

} // namespace ctl
