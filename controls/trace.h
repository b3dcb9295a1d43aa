#pragma once
// What the layer stops at the platform's boundary is still told: an exception that reached a
// window procedure or a callback is written to the debugger output.

#include <windows.h>

#include <string_view>

namespace ctl {

// Call from a catch block: writes where the exception was stopped, the message that was being
// handled and, for a standard exception, its text.
void traceStoppedException(std::wstring_view where, UINT message) noexcept;

// Runs `body` for the platform, which must not see it throw: whatever it throws ends there and
// is traced as stopped in `where`.
template <class Body>
void guarded(std::wstring_view where, UINT message, Body&& body) noexcept {
    try {
        body();
    } catch (...) {
        traceStoppedException(where, message);
    }
}

} // namespace ctl
