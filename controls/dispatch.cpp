#include "controls/dispatch.h"

#include "controls/application.h"
#include "controls/form.h"

#include <algorithm>
#include <string>

namespace ctl {

namespace {

constexpr wchar_t kPreviousProcedure[] = L"PREV_PROC";

ResizeHook g_resizeHook = nullptr;

bool isKeyMessage(UINT message) {
    return message >= WM_KEYFIRST && message <= WM_SYSCHAR;
}

bool isColorMessage(UINT message) {
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

bool keyDown(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

// The built-in rules for key messages of the focused control.
LRESULT keyRules(Control& control, Message& message) {
    if (GetFocus() != control.handle())
        return 0;
    LRESULT result = 0;
    if (MessageHandler hook = application().keyboardHook; hook && hook(control, message, result))
        return result;
    if (MessageHandler handler = control.hooks().keyHandler;
        handler && handler(control, message, result))
        return result;
    if (keyDown(VK_CONTROL) || keyDown(VK_MENU))
        return control.defaultProcessing(message);
    if (message.message == WM_CHAR && message.wParam == VK_TAB) {
        message.wParam = 0;
        return 0;
    }
    Form* form = control.owningForm();
    auto navigate = form ? form->hooks().tabNavigation : nullptr;
    const bool notKeyDown = message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN;
    if (navigate && navigate(control, message.wParam, notKeyDown)) {
        message.wParam = 0;
        return 0;
    }
    return control.defaultProcessing(message);
}

// Sends a notification the parent received on to the child's own control, if it has one.
bool reflect(const Message& message, UINT reflected, LRESULT& result) {
    HWND child = reinterpret_cast<HWND>(message.lParam);
    if (!Control::fromHandle(child))
        return false;
    result = SendMessageW(child, reflected, message.wParam, message.lParam);
    return true;
}

} // namespace

void setResizeHook(ResizeHook hook) noexcept {
    g_resizeHook = hook;
}
ResizeHook resizeHook() noexcept {
    return g_resizeHook;
}

ShiftState currentShiftState() noexcept {
    ShiftState state = 0;
    if (keyDown(VK_LBUTTON))
        state |= shift::kLeftButton;
    if (keyDown(VK_RBUTTON))
        state |= shift::kRightButton;
    if (keyDown(VK_SHIFT))
        state |= shift::kShift;
    if (keyDown(VK_CONTROL))
        state |= shift::kCtrl;
    if (keyDown(VK_MBUTTON))
        state |= shift::kMiddleButton;
    if (keyDown(VK_MENU))
        state |= shift::kAlt;
    if (GetKeyState(VK_CAPITAL) & 1)
        state |= shift::kCapsLock;
    return state;
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    // Nothing may unwind through the system: a failure inside a handler ends its message here.
    try {
        Control* control = Control::beingCreated();
        if (control) {
            control->bindHandle(window);
            Control::clearBeingCreated();
        } else {
            control = Control::fromHandle(window);
        }
        Message record{window, message, wParam, lParam};
        if (control)
            return control->handleMessage(record);
        if (Form* app = application().form)
            return app->handleMessage(record);
        return DefWindowProcW(window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

LRESULT Control::defaultProcessing(const Message& message) {
    if (classProc_)
        return CallWindowProcW(classProc_, handle_ ? handle_ : message.window, message.message,
                               message.wParam, message.lParam);
    return DefWindowProcW(message.window, message.message, message.wParam, message.lParam);
}

bool Control::offerToHandlers(Message& message, LRESULT& result) {
    const Ref<Control> keepAlive(this);
    for (std::size_t i = handlers_.size(); i-- > 0;) {
        if (i >= handlers_.size())
            continue; // a handler removed others
        const HandlerEntry entry = handlers_[i];
        if (application().terminated && !entry.keepAfterQuit)
            continue;
        if (entry.handler(*this, message, result))
            return true;
    }
    return false;
}

LRESULT Control::handleMessage(Message& message) {
    if (!handle_ && message.window)
        handle_ = message.window;
    // A handler may free this control: it is destroyed only once this dispatch returns.
    const Ref<Control> keepAlive(this);
    Application& app = application();
    LRESULT result = 0;

    if (app.running && app.form && app.form != this &&
        app.form->events().onMessage(message, result))
        return result;
    if (events().onMessage(message, result))
        return result;

    if (offerToHandlers(message, result))
        return result;

    switch (message.message) {
    case WM_CLOSE:
        if (app.form == this || isMainWindow(*this))
            requestQuit();
        return defaultProcessing(message);
    case WM_NCDESTROY:
        // System controls free their own state here; the binding ends with it. The Application
        // also receives the last messages of windows whose control let go of them first: their
        // end is not its own.
        defaultProcessing(message);
        if (message.window == handle_)
            unbindHandle();
        return 0;
    case WM_SIZE:
        result = defaultProcessing(message);
        if (g_resizeHook)
            g_resizeHook(*this);
        return result;
    case WM_SYSCOMMAND:
        if ((message.wParam & 0xFFF0) == SC_MINIMIZE && isMainWindow(*this) && app.form &&
            app.form != this) {
            PostMessageW(app.form->handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return 0;
        }
        return defaultProcessing(message);
    case WM_SETFOCUS:
        if (!enabled())
            return 0;
        if (!flags_.settingFocus) {
            flags_.settingFocus = true;
            SetFocus(handle_);
            flags_.settingFocus = false;
        }
        return defaultProcessing(message);
    case WM_COMMAND:
        if (reflect(message, kReflectedCommand, result))
            return result;
        return defaultProcessing(message);
    default:
        break;
    }
    if (isColorMessage(message.message)) {
        if (reflect(message, message.message + kReflectedColorBase, result))
            return result;
        return defaultProcessing(message);
    }
    if (isKeyMessage(message.message))
        return keyRules(*this, message);
    return defaultProcessing(message);
}

bool keyHandler(Control& control, Message& message, LRESULT& result) {
    const ControlEvents& events = control.events();
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        auto key = static_cast<KeyCode>(message.wParam);
        const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
        (down ? events.onKeyDown : events.onKeyUp)(control, key, currentShiftState());
        message.wParam = key;
        result = 0;
        return key == 0;
    }
    case WM_CHAR: {
        // A character that comes with Alt (WM_SYSCHAR) is a command key, never typed: it goes
        // on to the menus as it came.
        auto character = static_cast<wchar_t>(message.wParam);
        events.onChar(control, character, currentShiftState());
        message.wParam = static_cast<WPARAM>(character);
        result = 0;
        return character == 0;
    }
    default:
        return false;
    }
}

bool characterInsertionHandler(Control& control, Message& message, LRESULT& result) {
    if (message.message != WM_CHAR || message.wParam < 0x20)
        return false;
    // Inserting bypasses the edit's own checks: read-only and digits-only edits type as usual.
    const auto style = static_cast<DWORD>(GetWindowLongW(control.handle(), GWL_STYLE));
    if (style & (ES_READONLY | ES_NUMBER))
        return false;
    auto character = static_cast<wchar_t>(message.wParam);
    control.events().onChar(control, character, currentShiftState());
    message.wParam = static_cast<WPARAM>(character);
    if (character != 0) {
        const std::size_t repeat = std::max<std::size_t>(1, LOWORD(message.lParam));
        const std::wstring text(repeat, character);
        control.sendMessage(control.actions().selectedTextSet, TRUE,
                            reinterpret_cast<LPARAM>(text.c_str()));
    }
    result = 0;
    return true;
}

bool closeHandler(Control& control, Message& message, LRESULT& result) {
    if (message.message != WM_CLOSE)
        return false;
    Application& app = application();
    bool accept = true;
    control.events().onClose(control, accept);
    if (!accept && app.running) {
        result = 0;
        return true;
    }
    // An accepted close is asked once; the built-in rule and default processing follow.
    control.assignEvents().onClose.clear();
    if (app.form == &control || isMainWindow(control)) {
        requestQuit();
        result = 0;
    }
    return false;
}

bool paintHandler(Control& control, Message& message, LRESULT& result) {
    if (message.message != WM_PAINT || !control.events().onPaint)
        return false;
    PAINTSTRUCT paint{};
    HDC given = reinterpret_cast<HDC>(message.wParam);
    HDC dc = given ? given : BeginPaint(control.handle(), &paint);
    HDC previous = control.paintDC_;
    control.paintDC_ = dc;
    control.releaseSurface();
    control.events().onPaint(control, dc);
    control.releaseSurface(); // the surface must not keep the paint context
    if (!given)
        EndPaint(control.handle(), &paint);
    control.paintDC_ = previous;
    result = 0;
    return true;
}

bool resizeHandler(Control& control, Message& message, LRESULT&) {
    if (message.message == WM_SIZE)
        control.events().onResize(control);
    return false;
}

bool moveHandler(Control& control, Message& message, LRESULT&) {
    if (message.message == WM_MOVE)
        control.events().onMove(control);
    return false;
}

bool standardChildHandler(Control& control, Message& message, LRESULT& result) {
    const UINT number = message.message;
    if (number >= WM_CTLCOLORMSGBOX + kReflectedColorBase &&
        number <= WM_CTLCOLORSTATIC + kReflectedColorBase) {
        HDC dc = reinterpret_cast<HDC>(message.wParam);
        SetTextColor(dc, colorToRGB(control.textColor()));
        if (control.transparent()) {
            SetBkMode(dc, TRANSPARENT);
            result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        } else {
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, colorToRGB(control.backgroundColor()));
            result = reinterpret_cast<LRESULT>(control.backgroundBrush());
        }
        return true;
    }
    if (number == kReflectedCommand) {
        const UINT code = HIWORD(message.wParam);
        const ActionTable& actions = control.actions();
        const ControlEvents& events = control.events();
        // A zero entry means the kind has no such notification.
        auto is = [code](UINT entry) { return entry != 0 && code == entry; };
        if (is(actions.clickCode)) {
            if (!control.focusInProgress)
                control.setFocus(true);
            events.onClick(control);
        } else if (is(actions.focusCode)) {
            events.onEnter(control);
        } else if (is(actions.blurCode)) {
            events.onLeave(control);
        } else if (is(actions.changeCode)) {
            events.onChange(control);
        } else if (is(actions.selectionChangeCode)) {
            if (events.onSelChange)
                events.onSelChange(control);
            else
                events.onChange(control);
        } else {
            return false;
        }
        result = control.defaultProcessing(message);
        return true;
    }
    if (number == WM_SETFOCUS) {
        if (Form* form = control.owningForm(); form && form->focusedControl != &control) {
            if (Control* previous = form->focusedControl)
                previous->events().onFocusLeaving(*previous);
            form->focusedControl = &control;
        }
    }
    return false;
}

LRESULT CALLBACK ChildSubclassProc(HWND window, UINT message, WPARAM wParam,
                                   LPARAM lParam) noexcept {
    try {
        Control* control = Control::fromHandle(GetParent(window));
        if (!control) {
            // The box is going away: the inner window ends with its own procedure.
            auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, kPreviousProcedure));
            return previous ? CallWindowProcW(previous, window, message, wParam, lParam)
                            : DefWindowProcW(window, message, wParam, lParam);
        }
        const Ref<Control> keepAlive(control);
        Message record{control->handle(), message, wParam, lParam};
        LRESULT result = 0;
        if (MessageHandler hook = application().keyboardHook;
            hook && isKeyMessage(message) && hook(*control, record, result))
            return result;

        Form* app = application().form;
        if (app && app->events().onMessage(record, result))
            return result;
        Form* form = control->owningForm();
        if (form && form != app && form->events().onMessage(record, result))
            return result;

        auto passOn = [&]() -> LRESULT {
            auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, kPreviousProcedure));
            if (!previous)
                return 0;
            return CallWindowProcW(previous, window, record.message, record.wParam, record.lParam);
        };
        auto keyHandlerOf = [&]() {
            if (MessageHandler handler = control->hooks().keyHandler)
                handler(*control, record, result);
        };

        if (message == WM_SETFOCUS && form)
            form->focusedControl = control;

        const bool shown = IsWindowVisible(control->handle()) != FALSE;
        if (shown && (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR)) {
            if (wParam == VK_TAB) {
                if (message != WM_KEYDOWN)
                    return 0;
                auto navigate = form ? form->hooks().tabNavigation : nullptr;
                if (navigate && navigate(*control, wParam, false))
                    return 0;
                keyHandlerOf();
                return passOn();
            }
            if (message == WM_CHAR && (wParam == VK_ESCAPE || wParam == VK_RETURN) &&
                SendMessageW(control->handle(), CB_GETDROPPEDSTATE, 0, 0)) {
                SendMessageW(control->handle(), CB_SHOWDROPDOWN, FALSE, 0);
                if (wParam == VK_ESCAPE)
                    SendMessageW(control->handle(), CB_SETCURSEL,
                                 static_cast<WPARAM>(control->rememberedIndex), 0);
                keyHandlerOf();
                return 0;
            }
            keyHandlerOf();
        }
        return passOn();
    } catch (...) {
        return 0;
    }
}

void subclassInnerWindows(Control& control) {
    for (HWND child = GetWindow(control.handle(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        auto previous =
            SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ChildSubclassProc));
        SetPropW(child, kPreviousProcedure, reinterpret_cast<HANDLE>(previous));
    }
}

void unsubclassInnerWindows(Control& control) {
    for (HWND child = GetWindow(control.handle(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (HANDLE previous = RemovePropW(child, kPreviousProcedure))
            SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
}

} // namespace ctl
