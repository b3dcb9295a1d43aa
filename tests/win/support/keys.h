#pragma once
// Holds a key down in this thread's keyboard state (what GetKeyState reports) for a scope.

#include <windows.h>

namespace testing_gui {

class KeyHeld {
public:
    explicit KeyHeld(int key) {
        GetKeyboardState(saved_);
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[key] = 0x80;
        SetKeyboardState(keys);
    }
    ~KeyHeld() { SetKeyboardState(saved_); }
    KeyHeld(const KeyHeld&) = delete;
    KeyHeld& operator=(const KeyHeld&) = delete;

private:
    BYTE saved_[256];
};

} // namespace testing_gui
