#pragma once
// The one window procedure of the layer and the message handlers it attaches to controls.

#include "controls/control.h"

namespace ctl {

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// ShiftState of the keyboard and mouse buttons now.
ShiftState currentShiftState() noexcept;

// Handlers attached by the slot setters and constructors.
bool standardChildHandler(Control& control, Message& message, LRESULT& result);
bool closeHandler(Control& control, Message& message, LRESULT& result);
bool paintHandler(Control& control, Message& message, LRESULT& result);
bool keyHandler(Control& control, Message& message, LRESULT& result);
bool resizeHandler(Control& control, Message& message, LRESULT& result);
bool moveHandler(Control& control, Message& message, LRESULT& result);
// Typed characters of an edit field: onChar, then the result replaces the selection.
bool characterInsertionHandler(Control& control, Message& message, LRESULT& result);

// Inner windows of a wrapped system control (the edit part of a combo box) pass their input
// to the control through this procedure.
LRESULT CALLBACK ChildSubclassProc(HWND window, UINT message, WPARAM wParam,
                                   LPARAM lParam) noexcept;
void subclassInnerWindows(Control& control);
void unsubclassInnerWindows(Control& control);

// The re-layout run after a control's WM_SIZE; installed once any alignment is set.
using ResizeHook = void (*)(Control&);
void setResizeHook(ResizeHook hook) noexcept;
ResizeHook resizeHook() noexcept;

} // namespace ctl
