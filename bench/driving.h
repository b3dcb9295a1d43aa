#pragma once
// Starting programs and finding and asking their windows, for the drivers that time programs
// from outside as a user sees them.

#include "bench/bench_common.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace bench {

struct Search {
    DWORD process = 0;
    const wchar_t* className = nullptr;
    const wchar_t* title = nullptr;
    HWND found = nullptr;
};

inline bool sameText(const wchar_t* wanted, const wchar_t* text) {
    return !wanted || std::wcscmp(wanted, text) == 0;
}

inline BOOL CALLBACK findTopWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window))
        return TRUE;
    wchar_t name[64] = {};
    wchar_t title[64] = {};
    GetClassNameW(window, name, 64);
    GetWindowTextW(window, title, 64);
    // The main window has no owner; a dialog is looked for by its class and title.
    if (search->className ? !sameText(search->className, name) || !sameText(search->title, title)
                          : GetWindow(window, GW_OWNER) != nullptr)
        return TRUE;
    search->found = window;
    return FALSE;
}

// The process's visible top-level window without an owner.
inline HWND visibleWindowOf(DWORD process) {
    Search search{process};
    EnumWindows(findTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The process's visible top-level window of this class and title.
inline HWND visibleWindowOf(DWORD process, const wchar_t* className, const wchar_t* title) {
    Search search{process, className, title};
    EnumWindows(findTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct ChildSearch {
    const wchar_t* className;
    DWORD styleMask;
    DWORD style;
    HWND found = nullptr;
};

inline BOOL CALLBACK findChild(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    // The editor's classes are the platform's under a prefix of their own ("obj_COMBOBOX").
    wchar_t name[64] = {};
    const std::size_t length = static_cast<std::size_t>(GetClassNameW(window, name, 64));
    const std::size_t wanted = std::wcslen(search->className);
    if (length < wanted || _wcsicmp(name + length - wanted, search->className) != 0)
        return TRUE;
    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    if ((style & search->styleMask) != search->style)
        return TRUE;
    search->found = window;
    return FALSE;
}

// The first descendant of `top` whose class ends in `className` and whose style has `style` in
// the bits of `styleMask`.
inline HWND childOf(HWND top, const wchar_t* className, DWORD styleMask = 0, DWORD style = 0) {
    ChildSearch search{className, styleMask, style, nullptr};
    EnumChildWindows(top, findChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The font-name box (a drop-down list) and the document's field (multi-line).
inline HWND fontNameBoxOf(HWND top) {
    return childOf(top, L"ComboBox", 3, CBS_DROPDOWNLIST);
}
inline HWND documentFieldOf(HWND top) {
    return childOf(top, L"Edit", ES_MULTILINE, ES_MULTILINE);
}

inline LRESULT ask(HWND window, UINT message, DWORD timeout = 5000) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, message, 0, 0, SMTO_NORMAL, timeout, &answer))
        return -1;
    return static_cast<LRESULT>(answer);
}

// A program started for a figure; closed with WM_CLOSE (ended if it will not) when it goes.
class Program {
public:
    Program(std::wstring commandLine, const std::wstring& folder) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started = milliseconds();
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup, &info_))
            info_ = {};
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() {
        if (!info_.hProcess)
            return;
        if (window_)
            PostMessageW(window_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(info_.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }

    DWORD id() const { return info_.dwProcessId; }
    bool running() const {
        return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
    }
    // Its visible main window once `ready` holds for it; null when it exited or `timeout`
    // milliseconds passed from its start.
    template <class Ready>
    HWND waitUntil(Ready ready, double timeout = 60000) {
        while (running() && milliseconds() - started < timeout) {
            window_ = visibleWindowOf(info_.dwProcessId);
            if (window_ && ready(window_))
                return window_;
            Sleep(1);
        }
        return nullptr;
    }

    // When CreateProcess was called.
    double started = 0;

private:
    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
};

} // namespace bench
