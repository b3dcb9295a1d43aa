#include "controls/form.h"

#include "controls/application_state.h"

#include <string>
#include <vector>

namespace ctl {

namespace {

bool focusHandler(Control& control, Message& message, LRESULT& result) {
    if (message.message != WM_SETFOCUS)
        return false;
    auto& form = static_cast<Form&>(control);
    Application& app = application();
    if (app.form && app.form != &form)
        app.form->focusedControl = &form;
    Control* focused = form.focusedControl;
    if (!focused || !focused->ensureHandle())
        return false;
    SetFocus(focused->handle());
    result = 0;
    return true;
}

// While a form runs modally its close box ends the run instead of destroying the window.
bool modalCloseHandler(Control& control, Message& message, LRESULT& result) {
    if (message.message != WM_CLOSE)
        return false;
    auto& form = static_cast<Form&>(control);
    if (form.modalResult == 0)
        form.modalResult = -1;
    result = 0;
    return true;
}

// A click on a window disabled by a modal run brings the modal form forward.
bool disabledWindowHandler(Control&, Message& message, LRESULT& result) {
    if (message.message != WM_SETCURSOR)
        return false;
    const UINT hit = LOWORD(message.lParam);
    const UINT mouse = HIWORD(message.lParam);
    if (hit != static_cast<WORD>(HTERROR) || mouse < WM_LBUTTONDOWN || mouse > WM_RBUTTONUP)
        return false;
    if (Form* modal = application().modalForm)
        SetForegroundWindow(modal->handle());
    result = 1;
    return true;
}

bool sizeLockHandler(Control& control, Message& message, LRESULT& result) {
    auto& form = static_cast<Form&>(control);
    if (form.resizable())
        return false;
    switch (message.message) {
    case WM_GETMINMAXINFO: {
        // While the window is being made its rectangle is still empty: it takes the size it is
        // made with, and the lock holds from then on.
        if (form.flags().creating)
            return false;
        result = form.defaultProcessing(message);
        const RECT r = form.bounds();
        auto* info = reinterpret_cast<MINMAXINFO*>(message.lParam);
        info->ptMinTrackSize = {r.right - r.left, r.bottom - r.top};
        info->ptMaxTrackSize = info->ptMinTrackSize;
        return true;
    }
    case WM_NCHITTEST:
        result = form.defaultProcessing(message);
        if (result >= HTLEFT && result <= HTBOTTOMRIGHT)
            result = HTNOWHERE;
        return true;
    case WM_INITMENU:
        EnableMenuItem(GetSystemMenu(form.handle(), FALSE), SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
        return false;
    default:
        return false;
    }
}

} // namespace

bool backgroundHandler(Control& control, Message& message, LRESULT& result) {
    if (message.message != WM_ERASEBKGND)
        return false;
    result = 1;
    if (control.transparent())
        return false;
    HDC dc = reinterpret_cast<HDC>(message.wParam);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, colorToRGB(control.backgroundColor()));
    SetBrushOrgEx(dc, 0, 0, nullptr);
    RECT client{};
    GetClientRect(control.handle(), &client);
    FillRect(dc, &client, control.backgroundBrush());
    return false;
}

Form* newForm(Control* parent, std::wstring_view caption) {
    auto* form = new Form();
    form->initTopLevel(parent, L"Form");
    form->setClassStyle(form->classStyle() | CS_DBLCLKS);
    form->addMessageHandler(focusHandler);
    form->addMessageHandler(backgroundHandler);
    form->setText(caption);
    return form;
}

Form* owningForm(Control& control) noexcept {
    return static_cast<Form*>(control.topLevel());
}

bool isMainWindow(const Control& control) noexcept {
    Application& app = application();
    if (!app.form)
        return !control.isChild();
    return &control == app.form;
}

void Form::destroy() {
    // The main window may remember this form as the control it last gave the focus to.
    if (Form* main = application().form; main && main != this && main->focusedControl == this)
        main->focusedControl = nullptr;
    Control::destroy();
    icon_ = nullptr;
    copiedIcon_.reset();
}

void Form::childCreated(Control& child) {
    if ((child.style() & WS_TABSTOP) && !focusedControl)
        focusedControl = &child;
}

void Form::childDestroyed(Control& child) noexcept {
    if (focusedControl == &child)
        focusedControl = nullptr;
}

void Form::childFocusing(Control& child) {
    if (Control* previous = focusedControl; previous && previous != &child) {
        if (previous->events().onFocusLeaving)
            previous->events().onFocusLeaving(*previous);
        else
            SetFocus(nullptr);
    }
    focusedControl = &child;
}

void Form::windowCreated() {
    SendMessageW(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(getIcon()));
}

HICON Form::getIcon() {
    if (icon_ == kNoIcon)
        return nullptr;
    if (icon_)
        return icon_;
    Form* app = application().form;
    if (app && app != this) {
        HICON shared = app->getIcon();
        if (!shared)
            return nullptr;
        // A copy of its own, so destroying this form never destroys the main window's icon.
        copiedIcon_.reset(static_cast<HICON>(CopyImage(shared, IMAGE_ICON, 0, 0, 0)));
        icon_ = copiedIcon_.get();
        return icon_;
    }
    icon_ = LoadIconW(moduleInstance(), L"MAINICON"); // a shared resource icon: never destroyed
    return icon_;
}

void Form::setIcon(HICON icon) {
    if (icon == icon_)
        return;
    // Only the copy this form made of the main window's icon is its own to destroy, once the
    // window shows the new one; icons handed in stay their giver's.
    const UniqueIcon old(copiedIcon_.detach());
    icon_ = icon;
    if (handle())
        SendMessageW(handle(), WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(icon == kNoIcon ? nullptr : icon));
}

HMENU Form::menuBar() const noexcept {
    return reinterpret_cast<HMENU>(id());
}

void Form::setMenuBar(HMENU menu) {
    // A form has no control identifier: CreateWindowExW takes its menu in that place.
    setIdentifier(reinterpret_cast<UINT_PTR>(menu));
    if (handle())
        SetMenu(handle(), menu);
}

void Form::setResizable(bool resizable) {
    if (resizable == resizable_)
        return;
    resizable_ = resizable;
    addMessageHandler(sizeLockHandler);
}

void Form::setClientSize(int width, int height) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, style(), GetMenu(handle()) != nullptr, exStyle());
    setSize(r.right - r.left, r.bottom - r.top);
}

void showForm(Form& form) {
    form.createWindow();
    form.setVisible(true);
    SetForegroundWindow(form.handle());
    if (form.enabled()) {
        ++form.focusInProgress;
        SetFocus(form.handle());
        --form.focusInProgress;
    }
}

int showModal(Form& form) {
    if (form.isChild() || !form.parent()) {
        showForm(form);
        return 0;
    }
    Application& app = application();
    form.addMessageHandler(modalCloseHandler);

    std::vector<Form*> disabled;
    Control* reactivate = app.form;
    Control* refocus = nullptr;
    if (app.form && app.form->enabled()) {
        disabled.push_back(app.form);
        refocus = app.form->focusedControl;
        app.form->setEnabled(false);
        ++app.form->disableCount;
        app.form->addMessageHandler(disabledWindowHandler);
    }

    ++form.modalCount;
    app.modalForm = &form;
    form.setEnabled(true);
    form.modalResult = 0;
    showForm(form);

    while (!app.terminated && form.modalResult == 0) {
        WaitMessage();
        // Without an Application the loop still has to run, or it would wait forever.
        processMessages(app.form ? *app.form : form);
    }

    --form.modalCount;
    app.modalForm = nullptr;
    form.removeMessageHandler(modalCloseHandler);

    for (Form* window : disabled) {
        if (--window->disableCount <= 0)
            window->removeMessageHandler(disabledWindowHandler);
        window->setEnabled(true);
    }
    if (reactivate && reactivate->handle())
        PostMessageW(reactivate->handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    if (refocus)
        refocus->setFocus(true);
    return form.modalResult;
}

void close(Control& control) {
    PostMessageW(control.handle(), WM_CLOSE, 0, 0);
}

int messageBox(std::wstring_view text, UINT flags) {
    const std::wstring message(text);
    Form* main = application().form;
    if (!main)
        return MessageBoxW(nullptr, message.c_str(), nullptr, flags);
    // Owned by the main window, which stays disabled until the answer: nothing can be typed
    // into it or closed behind the box.
    const std::wstring caption = main->text();
    return MessageBoxW(main->handle(), message.c_str(), caption.c_str(), flags);
}

} // namespace ctl
