#include "controls/colors.h"

namespace ctl {

COLORREF colorToRGB(Color color) {
    if (color & kSystemColor)
        return GetSysColor(static_cast<int>(color & 0x7F));
    return color;
}

} // namespace ctl
