// Every menu item, shortcut and toolbar button of the command table bound to its command, the
// edit commands, each a single message to the edit field, and what waits for a file still
// arriving.

#include "app/Unit1.h"
#include "app/command_table.h"

#include "controls/image_list.h"
#include "controls/items.h"
#include "controls/menu.h"
#include "controls/toolbar.h"

#include <optional>
#include <vector>

namespace app {

void MainWindow::run(Command command) {
    if (document.loading() && waitsForLoad(command)) {
        waiting.hold(command);
        return;
    }
    switch (command) {
    case Command::New:
        return newCommand();
    case Command::Open:
        return openCommand();
    case Command::Save:
        return saveCommand();
    case Command::SaveAs:
        return saveAsCommand();
    case Command::Exit:
        return exitCommand();
    case Command::Undo:
        return undoCommand();
    case Command::Cut:
        return cutCommand();
    case Command::Copy:
        return copyCommand();
    case Command::Paste:
        return pasteCommand();
    case Command::Delete:
        return deleteCommand();
    case Command::SelectAll:
        return selectAllCommand();
    case Command::Increase:
        return increaseCommand();
    case Command::Decrease:
        return decreaseCommand();
    case Command::Normal:
        return normalCommand();
    case Command::Right:
        return rightCommand();
    case Command::Center:
        return centerCommand();
    case Command::HelpTopics:
        return helpCommand();
    case Command::About:
        return aboutCommand();
    }
}

// Reading, selecting, the view and help go on while a file arrives; what would change its text,
// save or copy part of it or replace it waits, and once something waits, everything after it
// does, so that all is done in the order given. Exit does not: closing stops the load.
bool MainWindow::waitsForLoad(Command command) {
    if (command == Command::Exit)
        return false;
    if (!waiting.empty())
        return true;
    switch (command) {
    case Command::New:
    case Command::Open:
    case Command::Save:
    case Command::SaveAs:
    case Command::Undo:
    case Command::Paste:
    case Command::Delete:
        return true;
    case Command::Cut:
    case Command::Copy:
        return &clipboardTarget() == editField;
    default:
        return false;
    }
}

void MainWindow::loadEnded() {
    waiting.replay(*editField, [this](Command command) { run(command); });
}

void wireMenu(MainWindow& window) {
    ctl::Menu& menu = *window.mainMenu;
    for (const MenuLine& row : kCommandTable) {
        if (row.kind != MenuLine::Kind::Item)
            continue;
        const ctl::MenuItemHandler handler = [&window, command = row.command](ctl::Menu&, int) {
            window.run(command);
        };
        const int item = menuItemOf(row.command);
        menu.assignEvents(item, std::span(&handler, 1));
        if (row.ctrlKey)
            menu.setAccelerator(item, {FVIRTKEY | FCONTROL, row.ctrlKey});
    }
}

void wireToolbar(MainWindow& window, ctl::Toolbar& toolbar) {
    toolbar.setTooltips(toolbar.buttonId(0), kToolbarTips);
    toolbar.sendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(window.imageList->handle()));
    // From the first entry after the leading separator; separators run nothing.
    std::vector<ctl::ButtonHandler> handlers;
    for (std::size_t entry = 1; entry < kToolbarStrip.size(); ++entry) {
        if (const std::optional<Command> command = kToolbarStrip[entry])
            handlers.emplace_back([&window, command](ctl::Toolbar&, int) { window.run(*command); });
        else
            handlers.emplace_back();
    }
    toolbar.assignButtonEvents(1, handlers);
}

void MainWindow::undoCommand() {
    editField->sendMessage(EM_UNDO);
}
ctl::Control& MainWindow::clipboardTarget() {
    HWND focus = GetFocus();
    HWND box = fontSizeBox->handle();
    if (box && focus && (focus == box || IsChild(box, focus)))
        return *fontSizeBox;
    return *editField;
}

// Their shortcuts reach the main window before the focused box sees them.
void MainWindow::cutCommand() {
    clipboardTarget().sendMessage(WM_CUT);
}
void MainWindow::copyCommand() {
    clipboardTarget().sendMessage(WM_COPY);
}
void MainWindow::pasteCommand() {
    editField->sendMessage(WM_PASTE);
}
void MainWindow::deleteCommand() {
    editField->sendMessage(WM_CLEAR);
}

void MainWindow::selectAllCommand() {
    ctl::setSelectionStart(*editField, 0);
    ctl::setSelectionLength(*editField, -1);
}

} // namespace app
