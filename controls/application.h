#pragma once
// The process-wide state of the message loop, and the loop itself.

#include "controls/control.h"

#include <string_view>

namespace ctl {

class Form;

struct Application {
    // The main window; every loop of the layer runs for it.
    Form* form = nullptr;
    // `run` has started its loop and the application has not been torn down.
    bool running = false;
    // The application is quitting: every loop ends, only keep-after-quit handlers still run.
    bool terminated = false;
    // The form shown by the innermost showModal.
    Form* modalForm = nullptr;
    // Called for key messages of the focused control before its own key handling.
    MessageHandler keyboardHook = nullptr;
};

Application& application() noexcept;

// Makes `form` the Application, runs the loop until the application quits, then destroys the
// form (with everything it owns) and sets the variable to null.
void run(Form*& form);
// Takes one message from the queue and dispatches it; false when the queue was empty.
bool processMessage(Control& control);
void processMessages(Control& control);
void terminateApplication(Form*& form);
bool isMainWindow(const Control& control) noexcept;

// The keyboard hook once accelerator tables exist: accelerators, then mnemonics.
bool translateKeys(Control& control, Message& message, LRESULT& result);
bool clickMnemonic(Control& parent, WPARAM key, bool buttonDown);
// The text, upper-cased, holds "&" followed by the key's character.
bool holdsMnemonic(std::wstring_view text, WPARAM key);

// Ends the application: posts the quit and marks it terminating.
void requestQuit() noexcept;

} // namespace ctl
