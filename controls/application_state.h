#pragma once
// The process-wide state of the message loop, the quit request, and one turn of the loop.

#include "controls/control.h"

namespace ctl {

class Form;

struct Application {
    // The main window; every loop of the layer runs for it.
    Form* form = nullptr;
    // `run` has started its loop and the application has not been torn down.
    bool running = false;
    // The application is quitting: every loop ends and attached message handlers no longer run.
    bool terminated = false;
    // The form shown by the innermost showModal.
    Form* modalForm = nullptr;
    // Called for key messages of the focused control before its own key handling.
    MessageHandler keyboardHook = nullptr;
};

Application& application() noexcept;

// Ends the application: posts the quit and marks it terminating.
void requestQuit() noexcept;

// Takes one message from the queue and dispatches it; false when the queue was empty.
bool processMessage(Control& control);
void processMessages(Control& control);

} // namespace ctl
