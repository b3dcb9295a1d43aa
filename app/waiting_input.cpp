#include "app/waiting_input.h"

#include "app/command_table.h"
#include "app/document.h"
#include "controls/control.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

namespace app {

void WaitingInput::hold(Command command) {
    held_.push_back({Held::Kind::Command, command, 0, 0, 0});
}

void WaitingInput::hold(wchar_t character) {
    held_.push_back({Held::Kind::Character, Command{}, character, 0, 0});
}

void WaitingInput::hold(ctl::KeyCode key, ctl::ShiftState shift) {
    held_.push_back({Held::Kind::Key, Command{}, 0, key, shift});
}

void WaitingInput::replay(ctl::Control& editField, const std::function<void(Command)>& run) {
    const std::vector<Held> held = std::move(held_);
    held_.clear();
    for (auto next = held.begin(); next != held.end(); ++next) {
        if (document_.loading()) {
            held_.insert(held_.end(), next, held.end());
            return;
        }
        switch (next->kind) {
        case Held::Kind::Command:
            run(next->command);
            break;
        case Held::Kind::Character:
            // Through the window procedure, so the keyboard map sees it as typed.
            editField.sendMessage(WM_CHAR, next->character, 1);
            break;
        case Held::Kind::Key:
            replayKey(editField, *next);
            break;
        }
    }
}

void WaitingInput::replayKey(ctl::Control& editField, const Held& held) {
    // The field reads Shift and Ctrl as it takes the key: they are as when it was pressed.
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE pressed[256];
    std::copy(std::begin(keys), std::end(keys), pressed);
    pressed[VK_SHIFT] = (held.shift & ctl::shift::kShift) ? 0x80 : 0;
    pressed[VK_CONTROL] = (held.shift & ctl::shift::kCtrl) ? 0x80 : 0;
    SetKeyboardState(pressed);
    editField.sendMessage(WM_KEYDOWN, held.key, 1);
    SetKeyboardState(keys);
}

} // namespace app
