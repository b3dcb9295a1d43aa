#include "controls/application.h"

#include "controls/form.h"

namespace ctl {

namespace {

bool isMnemonicKey(WPARAM key) {
    const auto c = static_cast<unsigned char>(key & 0xFF);
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
}

bool translateAccelerator(Control& control, MSG& msg) {
    HACCEL table = control.acceleratorTable();
    return table && control.handle() && TranslateAcceleratorW(control.handle(), table, &msg);
}

// True when the key ran a command through the control's, its focused child's or its form's
// accelerator table.
bool runAccelerator(Control& control, const Message& message) {
    MSG msg{message.window, message.message, message.wParam, message.lParam, 0, {0, 0}};
    if (translateAccelerator(control, msg))
        return true;
    if (control.isForm()) {
        Control* focused = static_cast<Form&>(control).focusedControl;
        if (focused && translateAccelerator(*focused, msg))
            return true;
    }
    Form* form = owningForm(control);
    return form && form != &control && form->acceleratorTable() && form->handle() &&
           TranslateAcceleratorW(form->handle(), form->acceleratorTable(), &msg);
}

// The loop translates a key into characters before the key reaches its window; a key that ran
// a command must not type them too (a layout may give Ctrl with a key a character).
void dropTranslatedCharacters(const Message& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
        return;
    const UINT character = message.message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    MSG queued;
    while (PeekMessageW(&queued, nullptr, character, character + 1, PM_REMOVE)) {
    }
}

} // namespace

void run(Form*& form) {
    if (!form)
        return;
    Application& app = application();
    app.running = true;
    app.form = form;
    // The main window opens as the shortcut that started the program asks (maximised, say).
    if (HWND window = form->ensureHandle(); window && !IsWindowVisible(window)) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        GetStartupInfoW(&startup);
        ShowWindow(window,
                   (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWNORMAL);
    }
    form->createWindow();
    while (!app.terminated) {
        WaitMessage();
        if (form)
            processMessages(*form);
    }
    if (form)
        terminateApplication(form);
}

void terminateApplication(Form*& form) {
    Application& app = application();
    const bool wasTerminated = app.terminated;
    app.running = false;
    app.terminated = true;
    Form* main = app.form;
    app.form = nullptr;
    if (!main)
        return;
    const Ref<Form> keep(main);
    if (!wasTerminated) {
        processMessages(*main);
        if (main->handle())
            SendMessageW(main->handle(), WM_CLOSE, 0, 0);
    }
    form = nullptr;
    main->release(); // the reference `run` was given: the form goes once `keep` ends
}

bool translateKeys(Control& control, Message& message, LRESULT& result) {
    if (message.message < WM_KEYFIRST || message.message > WM_SYSCHAR)
        return false;
    if (runAccelerator(control, message)) {
        dropTranslatedCharacters(message);
        return true;
    }

    Form* form = owningForm(control);

    const bool altDown = (GetKeyState(VK_MENU) & 0x8000) != 0;
    if (message.message == WM_SYSKEYUP || (message.message == WM_SYSKEYDOWN && altDown)) {
        result = 0;
        if (form && isMnemonicKey(message.wParam))
            return clickMnemonic(*form, message.wParam, message.message == WM_SYSKEYDOWN);
    } else if (message.message == WM_KEYUP) {
        result = 0;
        if (form && message.wParam != VK_MENU && isMnemonicKey(message.wParam))
            return clickMnemonic(*form, message.wParam, false);
    }
    return false;
}

bool clickMnemonic(Control& parent, WPARAM key, bool buttonDown) {
    for (Control* child : parent.children()) {
        if (child->flags().acceptsMnemonics && child->handle() &&
            IsWindowEnabled(child->handle()) && child->clickMnemonic(key, buttonDown))
            return true;
        if (clickMnemonic(*child, key, buttonDown))
            return true;
    }
    return false;
}

} // namespace ctl
