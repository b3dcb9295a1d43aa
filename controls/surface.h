#pragma once
// Drawing surface: lends out a device context of a control with its font or brush selected.

#include <windows.h>

namespace ctl {

class Control;

class DrawingSurface {
public:
    explicit DrawingSurface(Control& owner) noexcept : owner_(owner) {}
    DrawingSurface(const DrawingSurface&) = delete;
    DrawingSurface& operator=(const DrawingSurface&) = delete;
    ~DrawingSurface() { release(); }

    // The control's paint context while it paints, else a GetDC context kept until release().
    HDC dc();
    // The context with the control's font selected and its text colour set.
    HDC textDC();
    // The context with the control's background brush selected and its colours set.
    HDC brushDC();
    // Gives a GetDC context back (a borrowed paint context is left alone).
    void release() noexcept;

private:
    Control& owner_;
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    bool borrowed_ = false;
    bool fontSelected_ = false;
    bool brushSelected_ = false;
};

} // namespace ctl
