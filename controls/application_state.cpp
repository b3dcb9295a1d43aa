#include "controls/application_state.h"

namespace ctl {

Application& application() noexcept {
    static Application state;
    return state;
}

void requestQuit() noexcept {
    PostQuitMessage(0);
    application().terminated = true;
}

bool processMessage(Control& control) {
    MSG msg{};
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        application().terminated = true;
        return true;
    }
    const auto preTranslate = control.hooks().preTranslate;
    if (!preTranslate || !preTranslate(control, msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return msg.message != WM_NULL;
}

void processMessages(Control& control) {
    while (processMessage(control)) {
    }
}

} // namespace ctl
