#pragma once
// The real main window, built as the program builds it, for a test: its settings file and
// manual are the ones beside this test program (in a folder of its own), emptied before and
// after every test.

#include "app/Unit1.h"
#include "app/command_table.h"
#include "controls/application.h"
#include "controls/combo_box.h"
#include "controls/font.h"
#include "controls/form.h"
#include "controls/menu.h"
#include "controls/path.h"
#include "controls/text.h"
#include "controls/toolbar.h"
#include "support/files.h"
#include "support/gui.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

class EditorTest : public ::testing::Test {
public:
    static std::wstring besideProgram(const wchar_t* name) {
        return std::wstring(ctl::filePath(ctl::executablePath())) + name;
    }
    static std::wstring settingsFile() { return besideProgram(L"Setting.ini"); }
    // A stored value; "<none>" when the key (or the file) is missing.
    static std::wstring setting(const wchar_t* key) {
        wchar_t value[256] = {};
        GetPrivateProfileStringW(L"General", key, L"<none>", value, 256, settingsFile().c_str());
        return value;
    }

protected:
    void SetUp() override { removeFiles(); }
    void TearDown() override {
        closeEditor();
        removeFiles();
    }

    // Writes the settings file (section General) before the editor starts.
    static void storeSettings(const std::string& keys) {
        ASSERT_TRUE(testing_files::writeBytes(settingsFile(), "[General]\r\n" + keys));
    }

    // Start-up as the program does it, up to the point where `run` would show the window.
    void start() {
        app::createMainWindow(app::FMain);
        editor = app::FMain;
        ASSERT_NE(editor, nullptr);
        form = editor->mainWindow;
    }
    // What `run` does first: the window becomes visible.
    void show() {
        ctl::showForm(*form);
        testing_gui::pump();
    }
    void closeEditor() {
        if (app::FMain)
            app::FMain->mainWindow->release();
        editor = nullptr;
        form = nullptr;
        ctl::application().form = nullptr;
        ctl::application().running = false;
        ctl::application().terminated = false;
        testing_gui::pump();
    }

    // Chooses a menu item as a click on it does.
    void choose(int item) {
        const auto id = static_cast<WPARAM>(LOWORD(editor->mainMenu->item(item)->commandId()));
        SendMessageW(form->handle(), WM_COMMAND, id, 0);
        testing_gui::pump();
    }
    bool menuChecked(int item) { return editor->mainMenu->item(item)->state(MFS_CHECKED); }
    ctl::Toolbar& toolbar() { return *editor->toolbar; }
    bool buttonDown(int index) {
        return toolbar().sendMessage(TB_ISBUTTONCHECKED, toolbar().buttonId(index)) != 0;
    }
    // Clicks a toolbar button with the mouse.
    void click(int index) {
        RECT r{};
        toolbar().sendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(toolbar().handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(toolbar().handle(), WM_LBUTTONUP, 0, at);
        testing_gui::pump();
    }

    HWND edit() const { return editor->editField->handle(); }
    std::wstring editText() const { return testing_gui::windowText(edit()); }
    // The font the edit field really uses.
    LOGFONTW editFont() const {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(edit(), WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        return font;
    }
    DWORD editAlignment() const {
        return static_cast<DWORD>(GetWindowLongW(edit(), GWL_STYLE)) & (ES_CENTER | ES_RIGHT);
    }
    std::wstring sizeBoxText() const { return editor->fontSizeBox->text(); }
    std::wstring statusText() const { return testing_gui::windowText(form->statusBar->handle()); }
    RECT outerBounds() const {
        RECT r{};
        GetWindowRect(form->handle(), &r);
        return r;
    }

    app::MainWindow* editor = nullptr;
    ctl::Form* form = nullptr;

private:
    static void removeFiles() {
        DeleteFileW(settingsFile().c_str());
        const std::wstring manual = besideProgram(L"readme_en.html");
        DeleteFileW(manual.c_str());
        RemoveDirectoryW(manual.c_str());
    }
};
