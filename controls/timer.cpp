#include "controls/timer.h"

#include "controls/trace.h"

#include <algorithm>
#include <vector>

namespace ctl {

namespace {

// The running timers of the program's thread. A tick the platform had already queued when its
// timer was stopped can still arrive; it finds no timer here and does nothing.
std::vector<const Timer*>& runningTimers() {
    static std::vector<const Timer*> timers;
    return timers;
}

} // namespace

bool Timer::start(UINT milliseconds) {
    stop();
    HWND window = window_.ensureHandle();
    if (!window)
        return false;
    // The object is the timer's id: a tick finds its timer without a table.
    if (!SetTimer(window, reinterpret_cast<UINT_PTR>(this), milliseconds, procedure))
        return false;
    try {
        runningTimers().push_back(this);
    } catch (...) {
        KillTimer(window, reinterpret_cast<UINT_PTR>(this));
        return false;
    }
    running_ = true;
    setOn_ = window;
    return true;
}

void Timer::stop() noexcept {
    if (!running_)
        return;
    KillTimer(setOn_, reinterpret_cast<UINT_PTR>(this));
    std::vector<const Timer*>& timers = runningTimers();
    timers.erase(std::find(timers.begin(), timers.end(), this));
    running_ = false;
    setOn_ = nullptr;
}

void CALLBACK Timer::procedure(HWND, UINT message, UINT_PTR id, DWORD) noexcept {
    guarded(L"a timer", message, [id] {
        const std::vector<const Timer*>& timers = runningTimers();
        auto* timer = reinterpret_cast<Timer*>(id);
        if (std::find(timers.begin(), timers.end(), timer) != timers.end())
            timer->onTick();
    });
}

} // namespace ctl
