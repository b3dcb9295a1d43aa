#pragma once
// The message loop of the main window, its end, and the keyboard hook of accelerators and
// mnemonics.

#include "controls/application_state.h"

namespace ctl {

// Makes `form` the Application, runs the loop until the application quits, then destroys the
// form (with everything it owns) and sets the variable to null.
void run(Form*& form);
void terminateApplication(Form*& form);

// The keyboard hook once accelerator tables exist: accelerators, then mnemonics.
bool translateKeys(Control& control, Message& message, LRESULT& result);
// Offers the key to the controls below `parent` that accept mnemonics, in tree order.
bool clickMnemonic(Control& parent, WPARAM key, bool buttonDown);

} // namespace ctl
