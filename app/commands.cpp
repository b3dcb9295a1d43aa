// The command table: every menu item, shortcut and toolbar button bound to its command, and the
// edit commands, each a single message to the edit field.

#include "app/command_table.h"

#include "controls/image_list.h"
#include "controls/items.h"
#include "controls/menu.h"
#include "controls/toolbar.h"

#include <array>
#include <vector>

namespace app {

namespace {

using Command = void (MainWindow::*)();

constexpr ctl::Accelerator ctrl(WORD key) {
    return {FVIRTKEY | FCONTROL, key};
}

struct MenuCommand {
    int item;
    Command command;
    ctl::Accelerator shortcut;
};

// Shortcut captions in the menu are display only; these are the keys the table holds. Undo,
// Paste and Delete have none: inside the edit field the platform's own keys do them.
constexpr std::array<MenuCommand, 18> kMenuCommands = {{
    {item::kNew, &MainWindow::newCommand, ctrl('N')},
    {item::kOpen, &MainWindow::openCommand, ctrl('O')},
    {item::kSave, &MainWindow::saveCommand, ctrl('S')},
    {item::kSaveAs, &MainWindow::saveAsCommand, {}},
    {item::kExit, &MainWindow::exitCommand, {}},
    {item::kUndo, &MainWindow::undoCommand, {}},
    {item::kCut, &MainWindow::cutCommand, ctrl('X')},
    {item::kCopy, &MainWindow::copyCommand, ctrl('C')},
    {item::kPaste, &MainWindow::pasteCommand, {}},
    {item::kDelete, &MainWindow::deleteCommand, {}},
    {item::kSelectAll, &MainWindow::selectAllCommand, ctrl('A')},
    {item::kIncrease, &MainWindow::increaseCommand, ctrl(VK_ADD)},
    {item::kDecrease, &MainWindow::decreaseCommand, ctrl(VK_SUBTRACT)},
    {item::kNormal, &MainWindow::normalCommand, ctrl('0')},
    {item::kRight, &MainWindow::rightCommand, {}},
    {item::kCenter, &MainWindow::centerCommand, {}},
    {item::kHelpTopics, &MainWindow::helpCommand, {}},
    {item::kAbout, &MainWindow::aboutCommand, {}},
}};

// Commands of the toolbar entries 1 to 14; separators run nothing.
constexpr std::array<Command, 14> kButtonCommands = {
    &MainWindow::newCommand,
    &MainWindow::openCommand,
    &MainWindow::saveCommand,
    nullptr,
    &MainWindow::cutCommand,
    &MainWindow::copyCommand,
    &MainWindow::pasteCommand,
    &MainWindow::deleteCommand,
    nullptr,
    &MainWindow::centerCommand,
    &MainWindow::rightCommand,
    nullptr,
    &MainWindow::helpCommand,
    &MainWindow::aboutCommand,
};

} // namespace

void wireMenu(MainWindow& window) {
    ctl::Menu& menu = *window.mainMenu;
    for (const MenuCommand& entry : kMenuCommands) {
        const ctl::MenuItemHandler handler = [&window, command = entry.command](ctl::Menu&, int) {
            (window.*command)();
        };
        menu.assignEvents(entry.item, std::span(&handler, 1));
        if (entry.shortcut)
            menu.setAccelerator(entry.item, entry.shortcut);
    }
}

void wireToolbar(MainWindow& window, ctl::Toolbar& toolbar) {
    toolbar.setTooltips(toolbar.buttonId(0), kToolbarTips);
    toolbar.sendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(window.imageList->handle()));
    std::vector<ctl::ButtonHandler> handlers;
    for (Command command : kButtonCommands) {
        if (command)
            handlers.emplace_back([&window, command](ctl::Toolbar&, int) { (window.*command)(); });
        else
            handlers.emplace_back();
    }
    toolbar.assignButtonEvents(button::kNew, handlers);
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
