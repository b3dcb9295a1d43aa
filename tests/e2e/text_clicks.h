#pragma once
// The mouse in the text for the seeded sessions: points near a random code unit the field
// shows, and presses far enough apart in time or place that two never make a double click.

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace e2e {

class TextClicks {
public:
    // A screen point near a unit of the field's text of `length` units (the start drawn more often:
    // a combination there inserts its character whole), or near the top of an empty field.
    // `pick(n)` draws from 0 to n - 1; the unit is added to `log`.
    template <class Pick>
    static POINT nearUnit(HWND edit, std::size_t length, Pick pick, std::wstring& log) {
        RECT client{};
        GetClientRect(edit, &client);
        POINT point{client.right / 2, 10};
        for (int attempt = 0; attempt < 8 && length > 0; ++attempt) {
            const auto unit =
                static_cast<WPARAM>(pick(3) == 0 ? 0 : pick(static_cast<int>(length)));
            DWORD_PTR at = 0;
            SendMessageTimeoutW(edit, EM_POSFROMCHAR, unit, 0, SMTO_ABORTIFHUNG, 5000, &at);
            const POINT target{static_cast<short>(LOWORD(at)) + pick(17) - 8,
                               static_cast<short>(HIWORD(at)) + 3 + pick(18)};
            if (at != static_cast<DWORD_PTR>(-1) && PtInRect(&client, target)) {
                point = target;
                log += L" near unit " + std::to_wstring(unit);
                break;
            }
        }
        ClientToScreen(edit, &point);
        return point;
    }

    // Waits, if need be, so that a press at `point` is no double click with the last one.
    void beforePress(POINT point) const {
        if (std::abs(point.x - last_.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
            std::abs(point.y - last_.y) <= GetSystemMetrics(SM_CYDOUBLECLK))
            std::this_thread::sleep_until(lastTime_ +
                                          std::chrono::milliseconds(GetDoubleClickTime() + 50));
    }
    // The button was last released at `point`.
    void released(POINT point) {
        lastTime_ = std::chrono::steady_clock::now();
        last_ = point;
    }

private:
    std::chrono::steady_clock::time_point lastTime_ = std::chrono::steady_clock::now();
    POINT last_{};
};

} // namespace e2e
