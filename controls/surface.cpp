#include "controls/surface.h"

#include "controls/control.h"
#include "controls/font.h"

namespace ctl {

HDC DrawingSurface::dc() {
    if (!dc_) {
        if (HDC paint = owner_.paintContext()) {
            dc_ = paint;
            borrowed_ = true;
        } else {
            window_ = owner_.ensureHandle();
            dc_ = GetDC(window_);
            borrowed_ = false;
        }
    }
    return dc_;
}

HDC DrawingSurface::textDC() {
    HDC context = dc();
    if (context && !fontSelected_) {
        if (Font* font = owner_.fontIfAny()) {
            SelectObject(context, font->handle());
            SetTextColor(context, colorToRGB(font->color()));
        }
        fontSelected_ = true;
    }
    return context;
}

HDC DrawingSurface::brushDC() {
    HDC context = dc();
    if (context && !brushSelected_) {
        SelectObject(context, owner_.backgroundBrush());
        SetBkColor(context, colorToRGB(owner_.backgroundColor()));
        SetBkMode(context, owner_.transparent() ? TRANSPARENT : OPAQUE);
        brushSelected_ = true;
    }
    return context;
}

void DrawingSurface::release() noexcept {
    if (dc_ && !borrowed_)
        ReleaseDC(window_, dc_);
    dc_ = nullptr;
    borrowed_ = false;
    fontSelected_ = false;
    brushSelected_ = false;
}

} // namespace ctl
