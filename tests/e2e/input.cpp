// Real input for the driven program: key presses and clicks through SendInput, each sent once
// the program takes input in its main window.

#include "driver.h"

#include <vector>

namespace e2e {

namespace {

KEYBDINPUT keyEvent(WORD virtualKey, bool up) {
    KEYBDINPUT key{};
    key.wVk = virtualKey;
    key.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    key.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    for (int extended : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT,
                         VK_INSERT, VK_DELETE}) {
        if (virtualKey == extended)
            key.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    }
    return key;
}

void addKey(std::vector<INPUT>& inputs, WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki = keyEvent(virtualKey, up);
    inputs.push_back(input);
}

void addUnicode(std::vector<INPUT>& inputs, wchar_t c) {
    for (bool up : {false, true}) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = c;
        input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
        inputs.push_back(input);
    }
}

void send(std::vector<INPUT>& inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void sendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void sendKey(WORD virtualKey, bool ctrl, bool alt, bool shift) {
    std::vector<INPUT> inputs;
    const std::pair<bool, WORD> modifiers[] = {
        {ctrl, VK_CONTROL}, {alt, VK_MENU}, {shift, VK_SHIFT}};
    for (const auto& [held, key] : modifiers) {
        if (held)
            addKey(inputs, key, false);
    }
    addKey(inputs, virtualKey, false);
    addKey(inputs, virtualKey, true);
    for (const auto& [held, key] : modifiers) {
        if (held)
            addKey(inputs, key, true);
    }
    send(inputs);
}

} // namespace

void Program::toFront() const {
    waitFor([this] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!noDialog() || !IsWindowEnabled(main_) || !GetGUIThreadInfo(process_.dwThreadId, &info))
            return false;
        if (GetForegroundWindow() != main_)
            SetForegroundWindow(main_);
        return GetForegroundWindow() == main_ &&
               (info.hwndFocus == main_ || IsChild(main_, info.hwndFocus));
    });
}

void Program::type(std::wstring_view keys) const {
    toFront();
    std::vector<INPUT> inputs;
    // Shift stays down over a run of characters that need it, as a user holds it over capitals.
    bool shiftDown = false;
    auto holdShift = [&](bool down) {
        if (down != shiftDown)
            addKey(inputs, VK_SHIFT, !down);
        shiftDown = down;
    };
    for (wchar_t c : keys) {
        const SHORT scan = c == L'\n' ? VK_RETURN : VkKeyScanW(c);
        if (scan == -1) {
            holdShift(false);
            addUnicode(inputs, c);
            continue;
        }
        const auto key = static_cast<WORD>(LOBYTE(scan));
        holdShift((HIBYTE(scan) & 1) != 0);
        addKey(inputs, key, false);
        addKey(inputs, key, true);
    }
    holdShift(false);
    send(inputs);
}

void Program::press(WORD virtualKey, bool ctrl, bool alt, bool shift) const {
    toFront();
    sendKey(virtualKey, ctrl, alt, shift);
}

bool Program::pressIn(const Dialog& dialog, WORD virtualKey, bool alt) {
    SetForegroundWindow(dialog.window);
    if (!waitFor([&] { return GetForegroundWindow() == dialog.window; }, 3000))
        return false;
    sendKey(virtualKey, false, alt, false);
    return true;
}

bool Program::pressAndWait(WORD virtualKey, bool ctrl) const {
    toFront();
    // Attached to the program's input, this thread's key state follows the keys as the program
    // takes them from its queue. The character a press makes is handled before the release is
    // taken, so once the release is taken the key has done its work.
    const DWORD self = GetCurrentThreadId();
    if (!AttachThreadInput(self, process_.dwThreadId, TRUE))
        return false;
    const auto taken = [](WORD key, bool down) {
        std::vector<INPUT> inputs;
        addKey(inputs, key, !down);
        send(inputs);
        return waitFor([&] { return ((GetKeyState(key) & 0x8000) != 0) == down; });
    };
    bool ok = !ctrl || taken(VK_CONTROL, true);
    ok = taken(virtualKey, true) && ok;
    ok = taken(virtualKey, false) && ok;
    ok = (!ctrl || taken(VK_CONTROL, false)) && ok;
    AttachThreadInput(self, process_.dwThreadId, FALSE);
    return ok;
}

void Program::chooseFromMenu(const std::vector<WORD>& keys) const {
    press(VK_MENU);
    waitFor([this] { return inMenu(); }, 5000);
    for (WORD key : keys)
        press(key);
}

void Program::moveTo(POINT point) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    // Absolute positions run from 0 to 65535 over the screen; the +1 keeps rounding on the
    // intended pixel.
    sendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, point.x * 65536 / width + 1,
              point.y * 65536 / height + 1);
}

void Program::clickAt(POINT point, bool release) const {
    toFront();
    moveTo(point);
    sendMouse(MOUSEEVENTF_LEFTDOWN);
    if (release)
        sendMouse(MOUSEEVENTF_LEFTUP);
}

bool Program::captured() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(process_.dwThreadId, &info) && info.hwndCapture != nullptr;
}

bool Program::clickAtAndWait(POINT point) const {
    clickAt(point, false);
    const bool pressed = waitFor([this] { return captured(); });
    sendMouse(MOUSEEVENTF_LEFTUP);
    return waitFor([this] { return !captured(); }) && pressed;
}

bool Program::dragAndWait(POINT from, POINT to) const {
    clickAt(from, false);
    if (!waitFor([this] { return captured(); }))
        return false;
    // In a few moves, as a hand drags.
    for (int part = 1; part <= 4; ++part)
        moveTo({from.x + (to.x - from.x) * part / 4, from.y + (to.y - from.y) * part / 4});
    sendMouse(MOUSEEVENTF_LEFTUP);
    return waitFor([this] { return !captured(); });
}

void Program::click(HWND window) const {
    RECT r{};
    GetWindowRect(window, &r);
    clickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void Program::clickButton(int index) const {
    RECT r{};
    if (!remoteCall(TB_GETITEMRECT, static_cast<WPARAM>(index), &r, sizeof r))
        return;
    POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    MapWindowPoints(toolbar_, nullptr, &middle, 1);
    clickAt(middle);
}

} // namespace e2e
