#pragma once
// Edit fields: single- and multi-line EDIT controls whose typed characters pass through onChar.

#include "controls/control.h"
#include "controls/options.h"

namespace ctl {

const ActionTable& editActions() noexcept;
Control* newEdit(Control& parent, EditOptions options);

// The word-break procedure of the edits made with editopt::kSpaceDelimitedWords.
EDITWORDBREAKPROCW spaceDelimitedWordBreaks() noexcept;

} // namespace ctl
