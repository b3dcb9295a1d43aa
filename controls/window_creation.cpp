// Window creation of a Control: the class registered for it, the window made on demand
// (parents before children) and bound to the object.

#include "controls/control.h"

#include "controls/font.h"

#include <float.h>

namespace ctl {

namespace {

constexpr std::size_t kClassNameCapacity = 63;

} // namespace

Control* Control::fromHandle(HWND window) noexcept {
    if (!window)
        return nullptr;
    return reinterpret_cast<Control*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Control::bindHandle(HWND window) noexcept {
    handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Control::unbindHandle() noexcept {
    if (handle_)
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    handle_ = nullptr;
    surface_.target(nullptr, nullptr, nullptr);
}

HWND Control::ensureHandle() {
    if (!handle_) {
        if (flags_.visibilityExplicit) {
            createWindow();
        } else {
            style_ &= ~WS_VISIBLE;
            if (createWindow())
                flags_.createdHidden = true;
        }
    }
    return handle_;
}

bool Control::createWindow() {
    if (parent_ && !parent_->ensureHandle())
        return false;
    if (handle_) {
        createChildWindows();
        if (flags_.createdHidden) {
            flags_.createdHidden = false;
            setVisible(true);
        }
        return true;
    }
    if (!createOwnWindow())
        return false;
    if (hooks_.afterCreate)
        hooks_.afterCreate(*this);
    if (font_) {
        textColor_ = font_->color();
        sendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font_->handle()), TRUE);
    }
    createChildWindows();
    return true;
}

void Control::createChildWindows() {
    // A copy: creating a window may run handlers that add or remove children.
    const std::vector<Control*> children = children_;
    // Every child, not only those without a window: a grandchild created hidden on demand is
    // shown by its own createWindow.
    for (Control* child : children)
        child->createWindow();
}

bool Control::createOwnWindow() {
    WNDCLASSW windowClass{};
    windowClass.style = classStyle_;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hInstance = moduleInstance();

    std::wstring name = L"obj_" + className_;
    if (name.size() > kClassNameCapacity)
        name.resize(kClassNameCapacity);

    int x = bounds_.left;
    int y = bounds_.top;
    int width = bounds_.right - bounds_.left;
    int height = bounds_.bottom - bounds_.top;
    if (width == 0)
        width = CW_USEDEFAULT;
    if (height == 0)
        height = CW_USEDEFAULT;
    if (flags_.form && !flags_.moved) {
        x = CW_USEDEFAULT;
        y = CW_USEDEFAULT;
    }
    HWND parentWindow = parent_ ? parent_->ensureHandle() : nullptr;

    if (flags_.wrapsSystemClass) {
        WNDCLASSW system{};
        if (GetClassInfoW(nullptr, className_.c_str(), &system)) {
            windowClass = system;
            windowClass.hInstance = moduleInstance();
            windowClass.style &= ~(CS_GLOBALCLASS | CS_OWNDC | CS_CLASSDC | CS_PARENTDC);
            if (!classProc_)
                classProc_ = system.lpfnWndProc;
        }
    }
    if ((style_ & WS_CHILD) && !parentWindow)
        return false;

    WNDCLASSW existing{};
    if (!GetClassInfoW(moduleInstance(), name.c_str(), &existing)) {
        windowClass.lpszClassName = name.c_str();
        windowClass.lpfnWndProc = windowProcedure;
        windowClass.lpszMenuName = nullptr;
        if (!RegisterClassW(&windowClass))
            return false;
    }

    const HMENU menuOrId = reinterpret_cast<HMENU>(id_);
    // Some drivers change the floating-point control word while windows are created.
    unsigned int fpu = 0;
    _controlfp_s(&fpu, 0, 0);
    flags_.creating = true;
    // The window procedure binds the window to this object on WM_NCCREATE.
    HWND window = CreateWindowExW(exStyle_, name.c_str(), text_.c_str(), style_, x, y, width,
                                  height, parentWindow, menuOrId, moduleInstance(), this);
    flags_.creating = false;
    unsigned int restored = 0;
    _controlfp_s(&restored, fpu, _MCW_EM | _MCW_RC);
    if (!window)
        return false;
    if (handle_ != window)
        bindHandle(window);
    SendMessageW(window, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    windowCreated();
    return true;
}

LRESULT Control::sendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(ensureHandle(), message, wParam, lParam);
}

LRESULT Control::postMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return PostMessageW(ensureHandle(), message, wParam, lParam);
}

} // namespace ctl
