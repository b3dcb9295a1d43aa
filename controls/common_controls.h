#pragma once
// Registers the common control classes (toolbar, status bar, image lists) before first use.

#include <windows.h>

namespace ctl {

void initCommonControls(DWORD classes);

} // namespace ctl
