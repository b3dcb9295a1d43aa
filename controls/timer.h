#pragma once
// Timer: a platform timer on a control's window whose ticks raise `onTick` under the same guard
// as every message, so nothing a tick throws escapes to the platform. It dies with its owner
// object, and with the window, which takes its timers along.

#include "controls/control.h"
#include "controls/event_slot.h"

namespace ctl {

class Timer {
public:
    explicit Timer(Control& window) : window_(window) {}
    ~Timer() { stop(); }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Ticks every `milliseconds` (0: as soon as the loop is idle) from now on; false when the
    // window or the platform has no timer to give.
    bool start(UINT milliseconds);
    void stop() noexcept;
    bool running() const noexcept { return running_; }

    // Raised by the message loop; it may stop, restart or start the timer again.
    EventSlot<void()> onTick;

private:
    static void CALLBACK procedure(HWND window, UINT message, UINT_PTR id, DWORD time) noexcept;

    Control& window_;
    // The window the timer was set on: the control's window may be remade meanwhile.
    HWND setOn_ = nullptr;
    bool running_ = false;
};

} // namespace ctl
