// Help Topics hands the manual beside the executable to the shell; About shows the About window.

#include "app/UAbout.h"
#include "app/Unit1.h"

#include "controls/form.h"
#include "controls/path.h"
#include "controls/text.h"

#include <shellapi.h>

#include <string>

namespace app {

void MainWindow::helpCommand() {
    // The path stays UTF-16: a folder name outside the ANSI code page must still work.
    const std::wstring manual =
        std::wstring(ctl::filePath(ctl::executablePath())) + L"readme_en.html";
    if (!ctl::fileExists(manual)) {
        ctl::messageBox(L"Help file not found", MB_OK);
        return;
    }
    ShellExecuteW(mainWindow->handle(), L"open", manual.c_str(), L"", L"", SW_SHOW);
}

void MainWindow::aboutCommand() {
    if (!FAbout)
        createAboutWindow(*mainWindow);
    ctl::Form* form = FAbout->form;
    ctl::showModal(*form);
    form->release(); // its onDestroy forgets FAbout, so the next About builds a new window
}

} // namespace app
