#pragma once
// Helpers for tests that drive real windows: a form per test and message pumping.

#include "controls/application.h"
#include "controls/form.h"

#include <windows.h>

#include <string>
#include <utility>

namespace testing_gui {

// Dispatches every queued message (posted notifications, paints) without waiting.
inline void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A form that is destroyed at the end of the test, whatever happens in between.
class ScopedForm {
public:
    explicit ScopedForm(const wchar_t* caption = L"Test", ctl::Control* parent = nullptr)
        : form_(ctl::newForm(parent, caption)) {}
    ~ScopedForm() {
        if (form_)
            form_->release();
        pump();
    }
    ScopedForm(const ScopedForm&) = delete;
    ScopedForm& operator=(const ScopedForm&) = delete;
    ctl::Form* operator->() const { return form_; }
    ctl::Form& operator*() const { return *form_; }
    ctl::Form* get() const { return form_; }
    // For tests that destroy the form themselves.
    ctl::Form* release() { return std::exchange(form_, nullptr); }

private:
    ctl::Form* form_;
};

// Sets a window's client area size by resizing its outer frame.
inline void setClientSize(HWND window, int width, int height) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)),
                       GetMenu(window) != nullptr,
                       static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

inline int width(const RECT& r) {
    return r.right - r.left;
}
inline int height(const RECT& r) {
    return r.bottom - r.top;
}

// An edit field's selection: start and end.
inline std::pair<DWORD, DWORD> selection(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

inline std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace testing_gui
