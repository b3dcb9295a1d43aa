#pragma once
// Colours of the layer: a system colour index when the top bit is set, otherwise RGB.

#include <windows.h>

#include <cstdint>

namespace ctl {

using Color = std::uint32_t;

inline constexpr Color kSystemColor = 0x80000000;
inline constexpr Color systemColor(int index) {
    return kSystemColor | static_cast<Color>(index);
}

inline constexpr Color kWindowTextColor = systemColor(COLOR_WINDOWTEXT);
inline constexpr Color kButtonFaceColor = systemColor(COLOR_BTNFACE);
inline constexpr Color kButtonShadowColor = systemColor(COLOR_BTNSHADOW);
inline constexpr Color kWindowColor = systemColor(COLOR_WINDOW);

COLORREF colorToRGB(Color color);

} // namespace ctl
