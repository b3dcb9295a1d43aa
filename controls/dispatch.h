#pragma once
// The dispatcher behind the layer's window procedure and the message handlers it attaches to
// controls.

#include "controls/control.h"

namespace ctl {

// ShiftState of the keyboard and mouse buttons now.
ShiftState currentShiftState() noexcept;

// Handlers attached by the slot setters and constructors.
bool closeHandler(Control& control, Message& message, LRESULT& result);
bool paintHandler(Control& control, Message& message, LRESULT& result);
bool keyHandler(Control& control, Message& message, LRESULT& result);
bool resizeHandler(Control& control, Message& message, LRESULT& result);
bool moveHandler(Control& control, Message& message, LRESULT& result);
// Typed characters of an edit field: onChar, then the result replaces the selection.
bool characterInsertionHandler(Control& control, Message& message, LRESULT& result);

} // namespace ctl
