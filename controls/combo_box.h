#pragma once
// Combo boxes: drop-down lists and editable drop-downs whose selection change reaches onChange
// (or onSelChange) once the box has finished changing its selection.

#include "controls/control.h"
#include "controls/options.h"

namespace ctl {

// The notification code the box posts to itself after a selection change.
inline constexpr UINT kComboSelectionChanged = 15;

const ActionTable& comboBoxActions() noexcept;
// The first item added to an empty box without a selection becomes its selection.
Control* newComboBox(Control& parent, ComboOptions options);

} // namespace ctl
