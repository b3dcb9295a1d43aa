#pragma once
// Drawing surface: lends out a device context of a window with a font selected, for measuring
// and drawing outside the paint handler as well as inside it.

#include "controls/handles.h"

#include <windows.h>

#include <optional>

namespace ctl {

class Font;

class DrawingSurface {
public:
    DrawingSurface() = default;
    DrawingSurface(const DrawingSurface&) = delete;
    DrawingSurface& operator=(const DrawingSurface&) = delete;
    ~DrawingSurface() { release(); }

    // What the next context is taken from: the window's paint context while it paints (may be
    // null), else a GetDC context; the font text contexts get. A change gives the context back.
    void target(HWND window, HDC paintContext, Font* font) noexcept;

    // The paint context while painting, else a GetDC context kept until release().
    HDC dc();
    // The context with the font selected and its text colour set.
    HDC textDC();
    // Puts the context back as it was and gives a GetDC context back.
    void release() noexcept;

private:
    HWND window_ = nullptr;
    HDC paint_ = nullptr;
    Font* font_ = nullptr;
    std::optional<WindowDC> windowDC_;
    std::optional<SelectedObject> selectedFont_;
};

} // namespace ctl
