#include "controls/surface.h"

#include "controls/font.h"

namespace ctl {

void DrawingSurface::target(HWND window, HDC paintContext, Font* font) noexcept {
    if (window == window_ && paintContext == paint_ && font == font_)
        return;
    release();
    window_ = window;
    paint_ = paintContext;
    font_ = font;
}

HDC DrawingSurface::dc() {
    if (paint_)
        return paint_;
    if (!windowDC_ && window_)
        windowDC_.emplace(window_);
    return windowDC_ ? windowDC_->get() : nullptr;
}

HDC DrawingSurface::textDC() {
    HDC context = dc();
    if (context && font_ && !selectedFont_) {
        selectedFont_.emplace(context, font_->handle());
        SetTextColor(context, colorToRGB(font_->color()));
    }
    return context;
}

void DrawingSurface::release() noexcept {
    selectedFont_.reset();
    windowDC_.reset();
}

} // namespace ctl
