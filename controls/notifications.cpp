#include "controls/notifications.h"

#include "controls/common_controls.h"

#include <commctrl.h>

namespace ctl {

void makeCommonControl(Control& control) {
    initCommonControls(ICC_WIN95_CLASSES);
    if (Control* parent = control.parent())
        parent->addMessageHandler(notifyForwardingHandler);
    control.addMessageHandler(commonNotificationHandler);
}

bool notifyForwardingHandler(Control& parent, Message& message, LRESULT& result) {
    if (message.message != WM_NOTIFY)
        return false;
    const auto* header = reinterpret_cast<const NMHDR*>(message.lParam);
    Control* sender = Control::fromHandle(header->hwndFrom);
    if (!sender || sender == &parent)
        return false;
    Message record = message;
    record.window = sender->handle();
    return sender->offerToHandlers(record, result);
}

bool commonNotificationHandler(Control& control, Message& message, LRESULT&) {
    if (message.message != WM_NOTIFY)
        return false;
    const auto* header = reinterpret_cast<const NMHDR*>(message.lParam);
    // Tooltips and other helpers of the control notify it too; only its own reports count.
    if (header->hwndFrom != control.handle())
        return false;
    const ControlEvents& events = control.events();
    switch (header->code) {
    case NM_CLICK:
    case NM_RCLICK:
        events.onClick(control);
        break;
    case NM_KILLFOCUS:
        events.onLeave(control);
        break;
    case NM_SETFOCUS:
    case NM_RETURN:
        events.onEnter(control);
        break;
    default:
        break;
    }
    return false;
}

} // namespace ctl
