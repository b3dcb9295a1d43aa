#pragma once
// What a control receives and offers: the message record and its handlers, key codes and shift
// states, the private numbers of reflected notifications, the event slots and the per-kind hook
// procedures.

#include "controls/event_slot.h"

#include <windows.h>

#include <cstdint>

namespace ctl {

class Control;

// One window message as the dispatcher and its handlers see it; handlers may change wParam.
struct Message {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// WM_KEYDOWN to WM_SYSCHAR: what the key rules and the keyboard hook see.
inline bool isKeyMessage(UINT message) noexcept {
    return message >= WM_KEYFIRST && message <= WM_SYSCHAR;
}

// An attached message handler: answers whether it handled the message, writing the result.
using MessageHandler = bool (*)(Control& control, Message& message, LRESULT& result);

using KeyCode = std::uint32_t;
using ShiftState = std::uint8_t;
namespace shift {
inline constexpr ShiftState kLeftButton = 0x01;
inline constexpr ShiftState kRightButton = 0x02;
inline constexpr ShiftState kShift = 0x04;
inline constexpr ShiftState kCtrl = 0x08;
inline constexpr ShiftState kMiddleButton = 0x10;
inline constexpr ShiftState kAlt = 0x20;
inline constexpr ShiftState kCapsLock = 0x40;
} // namespace shift

// Private message numbers: notifications a parent receives about a child, sent on to the child.
inline constexpr UINT kReflectedColorBase = 0xBC00; // + WM_CTLCOLORMSGBOX..WM_CTLCOLORSTATIC
inline constexpr UINT kReflectedCommand = 0xB005;

// The event slots of a control. Every control starts with one shared record of empty slots;
// the first assignment gives it a private copy.
struct ControlEvents {
    EventSlot<bool(Message&, LRESULT&)> onMessage;
    EventSlot<void(Control&, bool& accept)> onClose;
    EventSlot<void(Control&, HDC)> onPaint;
    EventSlot<void(Control&, wchar_t& character, ShiftState)> onChar;
    EventSlot<void(Control&, KeyCode& key, ShiftState)> onKeyDown;
    EventSlot<void(Control&, KeyCode& key, ShiftState)> onKeyUp;
    EventSlot<void(Control&)> onClick;
    EventSlot<void(Control&)> onEnter;
    EventSlot<void(Control&)> onLeave;
    EventSlot<void(Control&)> onChange;
    EventSlot<void(Control&)> onSelChange;
    EventSlot<void(Control&)> onFocusLeaving;
    EventSlot<void(Control&)> onResize;
    EventSlot<void(Control&)> onMove;
    EventSlot<void(Control&)> onDropDown;
    EventSlot<void(Control&)> onCloseUp;
};

// Per-control procedures that control kinds replace; the defaults do nothing.
struct ControlHooks {
    MessageHandler keyHandler = nullptr;
    // Offered the navigation keys the control leaves to its form; true: the key was used.
    bool (*tabNavigation)(Control&, WPARAM key, bool notKeyDown) = nullptr;
    void (*afterCreate)(Control&) = nullptr;
    void (*captionChanged)(Control&) = nullptr;
    // Offered every message the loop takes for this control; true: consumed.
    bool (*preTranslate)(Control&, MSG&) = nullptr;
};

} // namespace ctl
