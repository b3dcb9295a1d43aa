#include "controls/dispatch.h"

#include "controls/application_state.h"
#include "controls/form.h"
#include "controls/trace.h"

#include <algorithm>
#include <string>

namespace ctl {

namespace {

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
    Form* form = owningForm(control);
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

// What every child control does with reflected colour and command messages and with the focus:
// offered after the attached handlers.
bool childRules(Control& control, Message& message, LRESULT& result) {
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
        if (Form* form = owningForm(control); form && form->focusedControl != &control) {
            if (Control* previous = form->focusedControl)
                previous->events().onFocusLeaving(*previous);
            form->focusedControl = &control;
        }
    }
    return false;
}

// Painting ends as it began whatever the handler does: EndPaint, and the paint context the
// control had before.
class PaintScope {
public:
    PaintScope(Control& control, HDC given) noexcept
        : control_(control), given_(given), previous_(control.paintContext()) {
        HDC dc = given ? given : BeginPaint(control.handle(), &paint_);
        control.setPaintContext(dc);
        control.releaseSurface();
    }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() {
        control_.releaseSurface(); // the surface must not keep the paint context
        if (!given_)
            EndPaint(control_.handle(), &paint_);
        control_.setPaintContext(previous_);
    }

private:
    Control& control_;
    HDC given_;
    HDC previous_;
    PAINTSTRUCT paint_{};
};

} // namespace

ShiftState currentShiftState() noexcept {
    struct HeldKey {
        int key;
        ShiftState bit;
    };
    static constexpr HeldKey kHeld[] = {
        {VK_LBUTTON, shift::kLeftButton},   {VK_RBUTTON, shift::kRightButton},
        {VK_SHIFT, shift::kShift},          {VK_CONTROL, shift::kCtrl},
        {VK_MBUTTON, shift::kMiddleButton}, {VK_MENU, shift::kAlt}};
    ShiftState state = 0;
    for (const HeldKey& held : kHeld)
        if (keyDown(held.key))
            state |= held.bit;
    // Caps Lock counts when it is toggled on, not while it is held.
    if (GetKeyState(VK_CAPITAL) & 1)
        state |= shift::kCapsLock;
    return state;
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    // Nothing may unwind through the system: a failure inside a handler ends its message here.
    LRESULT result = 0;
    guarded(L"the window procedure", message, [&] {
        if (message == WM_NCCREATE) {
            const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            if (auto* created = static_cast<Control*>(creation->lpCreateParams))
                created->bindHandle(window);
        }
        Message record{window, message, wParam, lParam};
        if (Control* control = Control::fromHandle(window))
            result = control->handleMessage(record);
        else if (Form* app = application().form)
            result = app->handleMessage(record);
        else
            result = DefWindowProcW(window, message, wParam, lParam);
    });
    return result;
}

LRESULT Control::defaultProcessing(const Message& message) {
    if (classProc_)
        return CallWindowProcW(classProc_, handle_ ? handle_ : message.window, message.message,
                               message.wParam, message.lParam);
    return DefWindowProcW(message.window, message.message, message.wParam, message.lParam);
}

bool Control::offerToHandlers(Message& message, LRESULT& result) {
    // Once the application is quitting, nothing attached runs any more.
    if (application().terminated)
        return false;
    const Ref<Control> keepAlive(this);
    for (std::size_t i = handlers_.size(); i-- > 0;) {
        if (i >= handlers_.size())
            continue; // a handler removed others
        if (handlers_[i](*this, message, result))
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
    if (flags_.child && !app.terminated && childRules(*this, message, result))
        return result;

    switch (message.message) {
    case WM_CLOSE:
        // The one place that decides: an accepted close of the main window ends the program.
        if (isMainWindow(*this))
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
        if (ResizeHook relayout = resizeHook())
            relayout(*this);
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
    bool accept = true;
    control.events().onClose(control, accept);
    if (!accept && application().running) {
        result = 0;
        return true;
    }
    // An accepted close is asked once; the built-in rule and default processing follow.
    control.assignEvents().onClose.clear();
    return false;
}

bool paintHandler(Control& control, Message& message, LRESULT& result) {
    if (message.message != WM_PAINT || !control.events().onPaint)
        return false;
    const PaintScope painting(control, reinterpret_cast<HDC>(message.wParam));
    control.events().onPaint(control, control.paintContext());
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

void Control::setOnClose(EventSlot<void(Control&, bool&)> handler) {
    assignEvents().onClose = std::move(handler);
    addMessageHandler(closeHandler);
}

void Control::setOnPaint(EventSlot<void(Control&, HDC)> handler) {
    assignEvents().onPaint = std::move(handler);
    addMessageHandler(paintHandler);
}

void Control::setOnChar(EventSlot<void(Control&, wchar_t&, ShiftState)> handler) {
    assignEvents().onChar = std::move(handler);
    hooks_.keyHandler = keyHandler;
}

void Control::setOnKeyDown(EventSlot<void(Control&, KeyCode&, ShiftState)> handler) {
    assignEvents().onKeyDown = std::move(handler);
    hooks_.keyHandler = keyHandler;
}

void Control::setOnKeyUp(EventSlot<void(Control&, KeyCode&, ShiftState)> handler) {
    assignEvents().onKeyUp = std::move(handler);
    hooks_.keyHandler = keyHandler;
}

void Control::setOnResize(EventSlot<void(Control&)> handler) {
    assignEvents().onResize = std::move(handler);
    addMessageHandler(resizeHandler);
}

void Control::setOnMove(EventSlot<void(Control&)> handler) {
    assignEvents().onMove = std::move(handler);
    addMessageHandler(moveHandler);
}

} // namespace ctl
