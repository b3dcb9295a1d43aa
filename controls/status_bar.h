#pragma once
// The status bar of a form, created by its first status text.

#include "controls/form.h"

#include <string>
#include <string_view>

namespace ctl {

// Index 255 makes the bar one simple part; a higher index than the bar has splits it into
// index + 1 equal parts. An empty text clears the part.
void setStatusText(Form& form, int index, std::wstring_view text);
// The text of a part; empty while the form has no status bar.
std::wstring statusText(const Form& form, int index);

} // namespace ctl
