#include "controls/common_controls.h"

#include <commctrl.h>

namespace ctl {

void initCommonControls(DWORD classes) {
    InitCommonControls();
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), classes};
    InitCommonControlsEx(&init);
}

} // namespace ctl
