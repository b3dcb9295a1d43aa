#pragma once
// The status bar of a form, created by its first status text.

#include "controls/form.h"

#include <string_view>

namespace ctl {

// Index 255 makes the bar one simple part; a higher index than the bar has splits it into
// index + 1 equal parts. An empty text clears the part.
void setStatusText(Form& form, int index, std::wstring_view text);

} // namespace ctl
