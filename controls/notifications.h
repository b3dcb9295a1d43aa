#pragma once
// Common controls (toolbars and the like) report to their parent with WM_NOTIFY; the parent
// hands each notification to the control that sent it, whose handlers turn it into events.

#include "controls/control.h"

namespace ctl {

// Registers the common control classes and wires `control` up as a common control: its
// parent forwards its notifications to it, and its click, focus and Enter notifications run
// onClick, onEnter and onLeave.
void makeCommonControl(Control& control);

// Attached to the parent: a WM_NOTIFY from a window with a Control of its own is offered to
// that control's handlers, whose answer becomes the parent's.
bool notifyForwardingHandler(Control& parent, Message& message, LRESULT& result);
// Attached to the common control: NM_CLICK, NM_RCLICK, NM_SETFOCUS, NM_KILLFOCUS, NM_RETURN.
bool commonNotificationHandler(Control& control, Message& message, LRESULT& result);

} // namespace ctl
