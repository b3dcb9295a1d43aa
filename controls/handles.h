#pragma once
// Move-only owners for the native handles the layer creates. Raw handles elsewhere are borrowed.

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace ctl {

template <class Handle>
constexpr Handle noHandle() noexcept {
    return Handle{};
}

// `Invalid` names the value that means "no handle": null for most kinds, not for files.
template <class Handle, auto Close, auto Invalid = noHandle<Handle>>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.detach()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.detach());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Invalid(); }

    // Hands the handle over without closing it (Windows destroys it, or another owner takes it).
    Handle detach() noexcept { return std::exchange(handle_, Invalid()); }
    void reset(Handle handle = Invalid()) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (old != Invalid())
            Close(old);
    }

private:
    Handle handle_ = Invalid();
};

// Files say "no handle" with INVALID_HANDLE_VALUE, which is not a constant expression.
inline HANDLE noFile() noexcept {
    return INVALID_HANDLE_VALUE;
}

using UniqueFont = UniqueHandle<HFONT, DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteObject>;
using UniqueRegion = UniqueHandle<HRGN, DeleteObject>;
using UniqueMenu = UniqueHandle<HMENU, DestroyMenu>;
using UniqueAccel = UniqueHandle<HACCEL, DestroyAcceleratorTable>;
using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageList_Destroy>;
using UniqueLocal = UniqueHandle<HLOCAL, LocalFree>;
using UniqueFile = UniqueHandle<HANDLE, CloseHandle, noFile>;

// Selects a GDI object into a device context and puts the one it replaced back on scope exit.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (old_)
            SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A GetDC context given back on scope exit.
class WindowDC {
public:
    explicit WindowDC(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

} // namespace ctl
