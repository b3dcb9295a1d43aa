// Geometry, styles and window state of a Control: what is stored until the window exists and
// applied to it once it does.

#include "controls/control.h"

namespace ctl {

namespace {

constexpr DWORD kFormBorderStyles = WS_THICKFRAME | WS_BORDER | WS_DLGFRAME | WS_CAPTION |
                                    WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU;
// For a form the frame, caption and its boxes; a child keeps its tab stop and group bits, which
// share their values with a form's minimise and maximise boxes.
constexpr DWORD kFormBorderStylesOff = 0x00CF0000;
constexpr DWORD kChildBorderStylesOff = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kBorderExStylesOff =
    WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT;

int width(const RECT& r) {
    return r.right - r.left;
}
int height(const RECT& r) {
    return r.bottom - r.top;
}

} // namespace

RECT Control::bounds() {
    if (handle_) {
        RECT r{};
        GetWindowRect(handle_, &r);
        if (flags_.child && parent_ && parent_->handle_) {
            POINT origin{0, 0};
            ClientToScreen(parent_->handle_, &origin);
            OffsetRect(&r, -origin.x, -origin.y);
        }
        bounds_ = r;
    }
    return bounds_;
}

void Control::setBounds(const RECT& r) {
    const RECT current = bounds();
    bounds_ = r;
    if (r.left != current.left || r.top != current.top)
        flags_.moved = true;
    if (handle_)
        SetWindowPos(handle_, nullptr, r.left, r.top, width(r), height(r),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    if (flags_.repaintOnResize)
        invalidate();
}

void Control::setLeft(int left) {
    RECT r = bounds();
    setBounds({left, r.top, left + width(r), r.bottom});
}

void Control::setTop(int top) {
    RECT r = bounds();
    setBounds({r.left, top, r.right, top + height(r)});
}

void Control::setWidth(int w) {
    RECT r = bounds();
    setBounds({r.left, r.top, r.left + w, r.bottom});
}

void Control::setHeight(int h) {
    RECT r = bounds();
    setBounds({r.left, r.top, r.right, r.top + h});
}

void Control::setWidthHeight(int w, int h) {
    RECT r = bounds();
    if (w > 0)
        r.right = r.left + w;
    if (h > 0)
        r.bottom = r.top + h;
    setBounds(r);
}

Control& Control::setPosition(int left, int top) {
    setLeft(left);
    setTop(top);
    return *this;
}

Control& Control::setSize(int w, int h) {
    RECT r = bounds();
    if (w != 0)
        r.right = r.left + w;
    if (h != 0)
        r.bottom = r.top + h;
    setBounds(r);
    return *this;
}

RECT Control::clientRect() {
    RECT r{};
    GetClientRect(ensureHandle(), &r);
    return r;
}

void Control::centerOnParent() {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (parent_ && flags_.child) {
        area = parent_->clientRect();
        area.top += parent_->margins_.top;
        area.bottom -= parent_->margins_.bottom;
        area.left += parent_->margins_.left;
        area.right -= parent_->margins_.right;
    }
    ensureHandle();
    const RECT own = bounds();
    setLeft((area.right - area.left - width(own)) >> 1);
    setTop((area.bottom - area.top - height(own)) >> 1);
}

void Control::setStyle(DWORD style) {
    if (style == style_)
        return;
    style_ = style;
    applyStyle(GWL_STYLE, style);
}

void Control::setExStyle(DWORD exStyle) {
    if (exStyle == exStyle_)
        return;
    exStyle_ = exStyle;
    applyStyle(GWL_EXSTYLE, exStyle);
}

void Control::applyStyle(int index, DWORD value) {
    if (!handle_)
        return;
    // The frame is recomputed and the window repainted; the window itself is kept.
    SetWindowLongW(handle_, index, static_cast<LONG>(value));
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    invalidate();
}

bool Control::hasBorder() const noexcept {
    return (style_ & (WS_CAPTION | WS_THICKFRAME | WS_BORDER)) != 0 ||
           (exStyle_ & WS_EX_CLIENTEDGE) != 0;
}

void Control::setBorder(bool on) {
    if (on == hasBorder())
        return;
    DWORD style = style_;
    DWORD exStyle = exStyle_;
    if (on) {
        if (flags_.form)
            style |= kFormBorderStyles;
        else if (threeD_)
            exStyle |= WS_EX_CLIENTEDGE;
        else
            style |= WS_BORDER;
    } else {
        style &= ~(flags_.form ? kFormBorderStylesOff : kChildBorderStylesOff);
        if (flags_.form)
            style |= WS_POPUP;
        exStyle &= ~kBorderExStylesOff;
    }
    setStyle(style);
    setExStyle(exStyle);
}

void Control::setVisible(bool show) {
    flags_.visibilityExplicit = true;
    if (show)
        style_ |= WS_VISIBLE;
    else
        style_ &= ~WS_VISIBLE;
    if (!handle_)
        return;
    if (show) {
        if (parent_ && resizeHook())
            parent_->relayout();
        ShowWindow(handle_, SW_SHOW);
    } else {
        ShowWindow(handle_, SW_HIDE);
        if (parent_ && resizeHook())
            parent_->relayout();
    }
}

bool Control::enabled() const noexcept {
    if (handle_)
        return IsWindowEnabled(handle_) != FALSE;
    return (style_ & WS_DISABLED) == 0;
}

void Control::setEnabled(bool enable) {
    if (enabled() == enable)
        return;
    if (enable)
        style_ &= ~WS_DISABLED;
    else
        style_ |= WS_DISABLED;
    if (handle_) {
        EnableWindow(handle_, enable);
        InvalidateRect(handle_, nullptr, TRUE);
    }
}

void Control::setFocus(bool onlyIfTabStop) {
    if (onlyIfTabStop && !(style_ & WS_TABSTOP))
        return;
    if (!flags_.child) {
        SetForegroundWindow(ensureHandle());
        return;
    }
    if (Control* top = topLevel())
        top->childFocusing(*this);
    ++focusInProgress;
    SetFocus(ensureHandle());
    --focusInProgress;
}

} // namespace ctl
